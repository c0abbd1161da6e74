#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <vector>

namespace pesterly::testing {

// Opens the form with its own modal loop, as the main window does, and runs the steps inside
// that loop as a user would. The steps are meant to close the form; a form they leave open
// fails the test and is closed, so that a broken form cannot hang the run.
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

// The controls placed directly on parent (a form or a frame), leaving out windows of their own.
inline std::vector<QWidget*> PlacedControls(const QWidget& parent) {
    std::vector<QWidget*> controls;
    for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && !child->isHidden()) {
            controls.push_back(child);
        }
    }
    return controls;
}

// Every caption shows whole, every control lies inside its form or frame, and no two controls
// on the same form or frame share a pixel.
inline void ExpectTidyLayout(const QWidget& form) {
    std::vector<const QWidget*> parents{&form};
    for (const QGroupBox* frame : form.findChildren<QGroupBox*>()) {
        parents.push_back(frame);
    }
    for (const QWidget* parent : parents) {
        const std::vector<QWidget*> controls = PlacedControls(*parent);
        for (size_t i = 0; i < controls.size(); ++i) {
            const QWidget* control = controls[i];
            const std::string name = control->objectName().toStdString();
            SCOPED_TRACE(name);
            EXPECT_FALSE(name.empty()) << "every control carries its name";
            EXPECT_TRUE(parent->rect().contains(control->geometry()));
            if (qobject_cast<const QAbstractButton*>(control) != nullptr ||
                qobject_cast<const QLabel*>(control) != nullptr) {
                EXPECT_GE(control->width(), control->sizeHint().width());
                EXPECT_GE(control->height(), control->sizeHint().height());
            }
            if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
                EXPECT_GE(frame->width(),
                          QFontMetrics(frame->font()).horizontalAdvance(frame->title()));
            }
            for (size_t j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(control->geometry().intersects(controls[j]->geometry()))
                    << name << " overlaps " << controls[j]->objectName().toStdString();
            }
        }
    }
}

// Enter presses nothing and Esc cancels nothing: no button is the form's default.
inline void ExpectNoDefaultButton(const QWidget& form) {
    for (const QPushButton* button : form.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

// Leaves a picture of the form in the build folder for a person to look at.
inline void SaveShot(QWidget& form) {
    const QString path =
        QDir(QStringLiteral(PESTERLY_SHOT_DIR)).filePath(form.objectName() + ".png");
    EXPECT_TRUE(form.grab().save(path)) << path.toStdString();
}

}  // namespace pesterly::testing
