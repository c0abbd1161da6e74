#pragma once

#include <QDialog>
#include <limits>

class QKeyEvent;
class QPushButton;
class QShowEvent;

namespace pesterly {

// Text boxes take texts of any length: a long imported mail body must not be cut short.
inline constexpr int kNoLengthLimit = std::numeric_limits<int>::max();

// What every Pesterly dialog shares: a modal form, laid out to grow, that loads its controls afresh
// each time it is shown, and that has no default and no escape button. Enter and Esc mean
// nothing to the form as a whole, so it closes only through its own buttons or the window's
// close box, and each form decides what those do.
class ModalForm : public QDialog {
    Q_OBJECT

  protected:
    // The parent is the window the form is centred on.
    ModalForm(const QString& name, const QString& title, QWidget* parent);

    // Runs at every opening, however the form is opened (exec, open or show).
    virtual void Opening() = 0;

    // A push button that never becomes the form's default button.
    QPushButton* NewButton(const QString& name, const QString& caption, QWidget* parent);

    // Opens the form at the size it was drawn at, in twips (1440 to the inch), or larger where
    // its layout needs the room; a height of 0 takes the layout's own.
    void OpenAtDesignSize(int width_twips, int height_twips);

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pesterly
