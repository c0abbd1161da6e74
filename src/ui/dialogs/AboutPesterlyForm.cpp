#include "ui/dialogs/AboutPesterlyForm.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>

#include "PesterlyConfig.h"
#include "ui/Resources.h"

namespace pesterly {
namespace {

QLabel* NewLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The addresses are there to be copied.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* NewPicture(const QString& name, const QPixmap& pixmap, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setPixmap(pixmap);
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

}  // namespace

AboutPesterlyForm::AboutPesterlyForm(QWidget* parent)
    : ModalForm(QStringLiteral("AboutPesterlyForm"), tr("About Pesterly"), parent) {
    CreateControls();
}

QString AboutPesterlyForm::ProductLine() {
    // Two blanks between the name and the version.
    return tr("Pesterly  %1 by the Pesterly developers").arg(QStringLiteral(PESTERLY_VERSION));
}

QString AboutPesterlyForm::CommentsLine() {
    return tr("Any comments or bug reports can be sent to %1")
        .arg(QStringLiteral(PESTERLY_CONTACT_EMAIL));
}

QString AboutPesterlyForm::WebSiteLine() {
    return tr("Check out %1 for news and new versions.").arg(QStringLiteral(PESTERLY_WEBSITE));
}

void AboutPesterlyForm::CreateControls() {
    Label3 = NewLabel(QStringLiteral("Label3"), ProductLine(), this);
    Label4 = NewLabel(QStringLiteral("Label4"), CommentsLine(), this);
    Label5 = NewLabel(QStringLiteral("Label5"), WebSiteLine(), this);
    const QPixmap icon = ApplicationPixmap();
    const QPixmap bitmap = AboutBitmap();
    Image1 = NewPicture(QStringLiteral("Image1"), icon, this);
    Image2 = NewPicture(QStringLiteral("Image2"), bitmap, this);
    Image3 = NewPicture(QStringLiteral("Image3"), icon, this);
    Image4 = NewPicture(QStringLiteral("Image4"), bitmap, this);
    setWindowIcon(ApplicationIcon());

    // The texts on the left, the pictures in a column on the right.
    auto* texts = new QVBoxLayout;
    for (QLabel* label : {Label3, Label4, Label5}) {
        // The design's width for the texts, at the screen's own scale.
        label->setMinimumWidth(logicalDpiX() * 3 / 2);
        texts->addWidget(label);
    }
    texts->addStretch();
    auto* pictures = new QVBoxLayout;
    for (QLabel* picture : {Image1, Image2, Image3, Image4}) {
        pictures->addWidget(picture);
    }
    auto* form = new QHBoxLayout(this);
    form->addLayout(texts, 1);
    form->addLayout(pictures);
    form->setSizeConstraint(QLayout::SetMinimumSize);
    OpenAtDesignSize(4755, 2655);
}

void AboutPesterlyForm::Opening() {
    // Fixed texts and pictures: nothing to load.
}

void AboutPesterlyForm::keyPressEvent(QKeyEvent* event) {
    // The box changes nothing, so Esc may close it like the close box does.
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    ModalForm::keyPressEvent(event);
}

}  // namespace pesterly
