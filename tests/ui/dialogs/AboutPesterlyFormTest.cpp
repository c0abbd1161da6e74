#include "ui/dialogs/AboutPesterlyForm.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <cmath>

#include "support/QtPrinters.h"
#include "ui/Resources.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

std::vector<QLabel*> Texts(const AboutPesterlyForm& form) {
    return {form.Label3, form.Label4, form.Label5};
}

std::vector<QLabel*> Pictures(const AboutPesterlyForm& form) {
    return {form.Image1, form.Image2, form.Image3, form.Image4};
}

// Every text shows whole at the width its label has, besides what the shared layout check
// looks at: a wrapped text needs the height of all its lines.
void ExpectWholeTexts(const AboutPesterlyForm& form) {
    testing::ExpectTidyLayout(form);
    for (const QLabel* label : Texts(form)) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_TRUE(label->wordWrap());
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        const QFontMetrics metrics(label->font());
        for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            EXPECT_LE(metrics.horizontalAdvance(word), label->contentsRect().width())
                << word.toStdString();
        }
    }
}

// A larger default font for the life of one test.
class LargerFont {
  public:
    explicit LargerFont(double factor) : saved_(QApplication::font()) {
        QFont font = saved_;
        font.setPointSizeF(saved_.pointSizeF() * factor);
        QApplication::setFont(font);
    }
    ~LargerFont() { QApplication::setFont(saved_); }

  private:
    QFont saved_;
};

TEST(AboutPesterlyForm, ShowsItsCaptionAndTexts) {
    AboutPesterlyForm form(nullptr);
    RunModal(form, [&] {
        EXPECT_EQ(form.windowTitle(), "About Pesterly");
        EXPECT_EQ(form.Label3->text(), "Pesterly  1.1 by the Pesterly developers");
        EXPECT_EQ(form.Label4->text(),
                  QStringLiteral("Any comments or bug reports can be sent to ") +
                      QStringLiteral(PESTERLY_CONTACT_EMAIL));
        EXPECT_TRUE(form.Label5->text().startsWith(QStringLiteral("Check out ") +
                                                   QStringLiteral(PESTERLY_WEBSITE) + " "))
            << form.Label5->text().toStdString();
        EXPECT_GT(form.Label5->text().size(),
                  QStringLiteral("Check out " PESTERLY_WEBSITE " ").size() + 10)
            << "a phrase follows the address";
        form.close();
    });
}

TEST(AboutPesterlyForm, PicturesAlternateIconAndBitmapDownTheRight) {
    AboutPesterlyForm form(nullptr);
    const QImage icon = ApplicationPixmap().toImage();
    const QImage bitmap = AboutBitmap().toImage();
    ASSERT_FALSE(icon.isNull());
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_NE(icon.convertToFormat(QImage::Format_ARGB32),
              bitmap.convertToFormat(QImage::Format_ARGB32))
        << "two different pictures";
    EXPECT_FALSE(bitmap.hasAlphaChannel()) << "the bitmap is plain 24-bit colour";

    const std::vector<QLabel*> pictures = Pictures(form);
    const QImage expected[] = {icon, bitmap, icon, bitmap};
    for (size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(pictures[i]->objectName().toStdString());
        const QPixmap shown = pictures[i]->pixmap();
        ASSERT_FALSE(shown.isNull());
        EXPECT_EQ(shown.size(), QSize(32, 32));
        EXPECT_EQ(shown.toImage(), expected[i]);
        EXPECT_EQ(pictures[i]->x(), form.Image1->x()) << "one column";
        EXPECT_EQ(pictures[i]->size(), form.Image1->size());
        if (i > 0) {
            EXPECT_GT(pictures[i]->y(), pictures[i - 1]->geometry().bottom());
        }
        for (const QLabel* text : Texts(form)) {
            EXPECT_GT(pictures[i]->x(), text->geometry().right()) << "pictures right of texts";
        }
    }
    // The texts stand one below the other: product line, comments, web site.
    EXPECT_LT(form.Label3->geometry().bottom(), form.Label4->y());
    EXPECT_LT(form.Label4->geometry().bottom(), form.Label5->y());
}

TEST(AboutPesterlyForm, KeepsItsDesignShapeAndShowsEveryTextWhole) {
    AboutPesterlyForm form(nullptr);
    RunModal(form, [&] {
        // Client area 4755 × 2655 twips, at the screen's scale or larger.
        const double per_twip = form.logicalDpiX() / 1440.0;
        EXPECT_GE(form.width(), std::lround(4755 * per_twip));
        EXPECT_NEAR(double(form.width()) / form.height(), 4755.0 / 2655.0, 0.01);
        ExpectWholeTexts(form);
        testing::SaveShot(form);
        form.close();
    });
}

TEST(AboutPesterlyForm, GrowsWithALargerFontRatherThanClipping) {
    AboutPesterlyForm usual(nullptr);
    const LargerFont larger(1.6);
    AboutPesterlyForm form(nullptr);
    RunModal(form, [&] {
        EXPECT_GT(form.width(), usual.width());
        ExpectWholeTexts(form);
        form.close();
    });
}

TEST(AboutPesterlyForm, HasNoButtonsAndClosesByCloseBoxOrEsc) {
    AboutPesterlyForm form(nullptr);
    EXPECT_TRUE(form.findChildren<QAbstractButton*>().isEmpty());
    RunModal(form, [&] {
        EXPECT_TRUE(form.isModal());
        QTest::keyClick(&form, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << "Enter means nothing";
        form.close();
        EXPECT_FALSE(form.isVisible());
    });
    const int result = RunModal(form, [&] {
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(result, QDialog::Rejected);
    // It opens again after either way of closing it.
    RunModal(form, [&] {
        EXPECT_EQ(form.Label3->text(), "Pesterly  1.1 by the Pesterly developers");
        form.close();
    });
}

}  // namespace
}  // namespace pesterly
