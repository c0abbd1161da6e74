#include "ui/dialogs/AboutPesterlyForm.h"

#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

#include "PesterlyConfig.h"
#include "ui/Resources.h"
#include "ui/Twips.h"

namespace pesterly {
namespace {

// A label that wraps its text within the width it is given. Its preferred size is the one it
// needs at its present width (or wider, where one word alone is wider), so that the form's
// layout grows the form only where the wrapped text would not fit, and not merely because
// Qt's guess of a pleasant shape for the text is wider than the design.
class WrappingLabel : public QLabel {
  public:
    WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
        setWordWrap(true);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // The addresses are there to be copied.
        setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    QSize sizeHint() const override {
        int longest_word = 0;
        for (const QString& word : text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            longest_word = std::max(longest_word, fontMetrics().horizontalAdvance(word));
        }
        const int margins = contentsMargins().left() + contentsMargins().right() + 2 * margin();
        const int wide =
            std::max(longest_word + margins, std::min(QLabel::sizeHint().width(), width()));
        return {wide, heightForWidth(std::max(wide, width()))};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

QLabel* NewLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new WrappingLabel(text, parent);
    label->setObjectName(name);
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
    : ModalForm(QStringLiteral("AboutPesterlyForm"), QStringLiteral("About Pesterly"), parent) {
    CreateControls();
}

QString AboutPesterlyForm::ProductLine() {
    // Two blanks between the name and the version.
    return QStringLiteral("Pesterly  %1 by the Pesterly developers")
        .arg(QStringLiteral(PESTERLY_VERSION));
}

QString AboutPesterlyForm::CommentsLine() {
    return QStringLiteral("Any comments or bug reports can be sent to ") +
           QStringLiteral(PESTERLY_CONTACT_EMAIL);
}

QString AboutPesterlyForm::WebSiteLine() {
    return QStringLiteral("Check out ") + QStringLiteral(PESTERLY_WEBSITE) +
           QStringLiteral(" for news and new versions.");
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

    struct Design {
        QWidget* control;
        int left, top, width, height;
    };
    const Design designs[] = {
        {Label3, 600, 240, 3255, 495},  {Label4, 600, 1200, 2775, 495},
        {Label5, 600, 1920, 2895, 495}, {Image1, 4080, 120, 480, 480},
        {Image2, 4080, 720, 480, 480},  {Image3, 4080, 1320, 480, 480},
        {Image4, 4080, 1920, 480, 480},
    };
    TwipsLayout layout;
    // The wrapping labels measure their text at the width they are given: give them their
    // design width at the screen's own scale before the layout asks.
    const double pixels_per_twip = logicalDpiX() / 1440.0;
    for (const Design& d : designs) {
        d.control->resize(static_cast<int>(d.width * pixels_per_twip),
                          static_cast<int>(d.height * pixels_per_twip));
        layout.Place(d.control, d.left, d.top, d.width, d.height);
    }
    layout.Finish(this, 4755, 2655);
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
