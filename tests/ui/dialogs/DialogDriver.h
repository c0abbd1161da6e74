#pragma once

#include <gmock/gmock.h>

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "support/QtPrinters.h"

namespace pesterly::testing {

// Opens the form with its own modal loop, as the main window does, and runs the steps inside
// that loop as a user would. A form the steps leave open fails the test and is closed, so that
// a broken form cannot hang the run.
inline int RunModal(QDialog& form, const std::function<void()>& steps) {
    QTimer::singleShot(0, &form, [&form, steps] {
        steps();
        if (form.isVisible()) {
            ADD_FAILURE() << form.objectName().toStdString() << " was left open";
            form.done(QDialog::Rejected);
        }
    });
    return form.exec();
}

inline void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}
// Check boxes and option buttons answer a click on their box or caption, at the left end.
inline void Toggle(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}
inline void Retype(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}
// The texts of a list or a drop-down list, in order.
template <typename List>
QStringList Items(const List* list) {
    QStringList items;
    for (int i = 0; i < list->model()->rowCount(); ++i) {
        items << list->model()->index(i, 0).data().toString();
    }
    return items;
}

// Every control is named, lies inside its form or frame and shares no pixel with another on
// the same form or frame; every caption, wrapped text and time shows whole; no button is a
// default that Enter would press. With shot, leaves a picture of the form in the build folder
// for a person to look at.
inline void ExpectTidyForm(QWidget& form, bool shot = true) {
    QList<QWidget*> parents{&form};
    for (QGroupBox* frame : form.findChildren<QGroupBox*>()) {
        parents << frame;
    }
    for (const QWidget* parent : parents) {
        QList<QWidget*> controls;
        for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && !child->isHidden()) {
                controls << child;
            }
        }
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const QWidget* control = controls[i];
            const std::string name = control->objectName().toStdString();
            EXPECT_FALSE(name.empty()) << "every control carries its name";
            EXPECT_TRUE(parent->rect().contains(control->geometry())) << name;
            if (qobject_cast<const QAbstractButton*>(control) ||
                qobject_cast<const QLabel*>(control) ||
                qobject_cast<const QAbstractSpinBox*>(control)) {
                EXPECT_GE(control->width(), control->sizeHint().width()) << name;
                EXPECT_GE(control->height(), control->hasHeightForWidth()
                                                 ? control->heightForWidth(control->width())
                                                 : control->sizeHint().height())
                    << name;
            }
            if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
                EXPECT_GE(frame->width(),
                          QFontMetrics(frame->font()).horizontalAdvance(frame->title()));
            }
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(control->geometry().intersects(controls[j]->geometry()))
                    << name << " overlaps " << controls[j]->objectName().toStdString();
            }
        }
    }
    if (shot) {
        const QString path =
            QDir(QStringLiteral(PESTERLY_SHOT_DIR)).filePath(form.objectName() + ".png");
        EXPECT_TRUE(form.grab().save(path)) << path.toStdString();
    }
}

}  // namespace pesterly::testing
