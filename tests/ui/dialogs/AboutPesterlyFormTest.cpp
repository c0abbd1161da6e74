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

// The shared layout check, and more: a wrapped text needs the height of all its lines, and
// no word may be wider than its label.
void ExpectWholeTexts(AboutPesterlyForm& form, bool shot) {
    testing::ExpectTidyForm(form, shot);
    for (const QLabel* label : {form.Label3, form.Label4, form.Label5}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_TRUE(label->wordWrap());
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(word),
                      label->contentsRect().width())
                << word.toStdString();
        }
    }
}

TEST(AboutPesterlyForm, ShowsItsTextsWholeAtItsDesignShapeAndGrowsWithTheFont) {
    AboutPesterlyForm form(nullptr);
    RunModal(form, [&] {
        EXPECT_EQ(form.windowTitle(), "About Pesterly");
        EXPECT_EQ(form.Label3->text(), "Pesterly  1.1 by the Pesterly developers");
        EXPECT_EQ(
            form.Label4->text(),
            QStringLiteral("Any comments or bug reports can be sent to " PESTERLY_CONTACT_EMAIL));
        const QString site = QStringLiteral("Check out " PESTERLY_WEBSITE " ");
        EXPECT_TRUE(form.Label5->text().startsWith(site)) << form.Label5->text().toStdString();
        EXPECT_GT(form.Label5->text().size(), site.size() + 10) << "a phrase follows the address";
        // The texts stand one below the other: product line, comments, web site.
        EXPECT_LT(form.Label3->geometry().bottom(), form.Label4->y());
        EXPECT_LT(form.Label4->geometry().bottom(), form.Label5->y());
        // Client area 4755 × 2655 twips, at the screen's scale or larger.
        EXPECT_GE(form.width(), std::lround(4755 * form.logicalDpiX() / 1440.0));
        EXPECT_NEAR(double(form.width()) / form.height(), 4755.0 / 2655.0, 0.01);
        ExpectWholeTexts(form, true);
        form.close();
    });

    const QFont usual = QApplication::font();
    QFont larger = usual;
    larger.setPointSizeF(usual.pointSizeF() * 1.6);
    QApplication::setFont(larger);
    AboutPesterlyForm grown(nullptr);
    RunModal(grown, [&] {
        EXPECT_GT(grown.width(), form.width());
        ExpectWholeTexts(grown, false);
        grown.close();
    });
    QApplication::setFont(usual);
}

TEST(AboutPesterlyForm, PicturesAlternateIconAndBitmapDownTheRight) {
    AboutPesterlyForm form(nullptr);
    const QImage icon = ApplicationPixmap().toImage();
    const QImage bitmap = AboutBitmap().toImage();
    ASSERT_FALSE(icon.isNull() || bitmap.isNull());
    EXPECT_NE(icon.convertToFormat(QImage::Format_ARGB32),
              bitmap.convertToFormat(QImage::Format_ARGB32))
        << "two different pictures";
    EXPECT_FALSE(bitmap.hasAlphaChannel()) << "the bitmap is plain 24-bit colour";

    const QLabel* const pictures[] = {form.Image1, form.Image2, form.Image3, form.Image4};
    for (size_t i = 0; i < std::size(pictures); ++i) {
        SCOPED_TRACE(pictures[i]->objectName().toStdString());
        EXPECT_EQ(pictures[i]->pixmap().size(), QSize(32, 32));
        EXPECT_EQ(pictures[i]->pixmap().toImage(), i % 2 == 0 ? icon : bitmap);
        EXPECT_EQ(pictures[i]->x(), form.Image1->x()) << "one column";
        EXPECT_EQ(pictures[i]->size(), form.Image1->size());
        if (i > 0) {
            EXPECT_GT(pictures[i]->y(), pictures[i - 1]->geometry().bottom());
        }
        for (const QLabel* text : {form.Label3, form.Label4, form.Label5}) {
            EXPECT_GT(pictures[i]->x(), text->geometry().right()) << "pictures right of texts";
        }
    }
}

TEST(AboutPesterlyForm, HasNoButtonsAndClosesByEscOrCloseBoxButNotEnter) {
    AboutPesterlyForm form(nullptr);
    EXPECT_TRUE(form.findChildren<QAbstractButton*>().isEmpty());
    const int result = RunModal(form, [&] {
        QTest::keyClick(&form, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << "Enter means nothing";
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(result, QDialog::Rejected);
    RunModal(form, [&] { form.close(); });  // it opens again, and the close box closes it
}

}  // namespace
}  // namespace pesterly
