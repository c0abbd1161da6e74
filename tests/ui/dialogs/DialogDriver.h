#pragma once

#include <gmock/gmock.h>

#include <QAbstractSpinBox>
#include <QAccessible>
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

// What a screen reader and a keyboard user meet: every control a user can reach has an
// accessible name, none the same as another's in the window, and no two captions share a
// mnemonic.
inline void ExpectAccessibleForm(const QWidget& form) {
    QStringList names;
    QStringList mnemonics;
    for (QWidget* child : form.findChildren<QWidget*>()) {
        if (child->isWindow() || !child->isVisibleTo(&form)) {
            continue;
        }
        const QAccessibleInterface* access = QAccessible::queryAccessibleInterface(child);
        if (child->focusPolicy() != Qt::NoFocus && child->focusProxy() == nullptr && access) {
            const QString name = access->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty()) << child->objectName().toStdString();
            EXPECT_FALSE(names.contains(name)) << name.toStdString() << " twice";
            names << name;
        }
        const QString caption =
            access ? QAccessible::queryAccessibleInterface(child)->text(QAccessible::Accelerator)
                   : QString();
        if (caption.startsWith(QStringLiteral("Alt+"))) {
            EXPECT_FALSE(mnemonics.contains(caption)) << caption.toStdString() << " twice";
            mnemonics << caption;
        }
    }
}

// Every control is named, lies inside its form or frame and shares no pixel with another on
// the same form or frame; every caption, wrapped text and time shows whole; no button is a
// default that Enter would press; the form fits a 1920 × 1080 screen at 200 % (960 × 540).
// With shot, leaves a picture of the form in the build folder for a person to look at.
inline void ExpectTidyForm(QWidget& form, bool shot = true) {
    ExpectAccessibleForm(form);
    EXPECT_LE(form.width(), 960) << form.objectName().toStdString();
    EXPECT_LE(form.height(), 540) << form.objectName().toStdString();
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
