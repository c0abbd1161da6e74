#include "ui/dialogs/ModalForm.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

namespace pesterly {

ModalForm::ModalForm(const QString& name, const QString& title, QWidget* parent) : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    setModal(true);
}

QPushButton* ModalForm::NewButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // A dialog otherwise makes the focused push button its default, and Enter would press it.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void ModalForm::OpenAtDesignSize(int width_twips, int height_twips) {
    const QSize design(width_twips * logicalDpiX() / 1440, height_twips * logicalDpiY() / 1440);
    resize(design.expandedTo(minimumSizeHint()));
}

void ModalForm::showEvent(QShowEvent* event) {
    // A spontaneous show is the window system restoring a minimised form: not an opening.
    if (!event->spontaneous()) {
        Opening();
    }
    QDialog::showEvent(event);
}

void ModalForm::keyPressEvent(QKeyEvent* event) {
    // QDialog would reject the form on Esc and press a default button on Enter; neither
    // exists here. Everything else (Tab, the buttons' own Space) goes its normal way.
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->ignore();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

}  // namespace pesterly
