#include "ui/dialogs/AboutPesterlyForm.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include "support/QtPrinters.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

// The shared layout check, and more: a wrapped text needs the height of all its lines, no word
// may be wider than its label, and every picture is there.
void ExpectWholeTextsAndPictures(AboutPesterlyForm& form, bool shot) {
    testing::ExpectTidyForm(form, shot);
    for (const QLabel* label : {form.Label3, form.Label4, form.Label5}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(word),
                      label->contentsRect().width())
                << word.toStdString();
        }
    }
    for (const QLabel* picture : {form.Image1, form.Image2, form.Image3, form.Image4}) {
        EXPECT_EQ(picture->pixmap().size(), QSize(32, 32)) << picture->objectName().toStdString();
    }
}

TEST(AboutPesterlyForm, ShowsItsTextsWholeAndGrowsWithTheFont) {
    AboutPesterlyForm form(nullptr);
    RunModal(form, [&] {
        ExpectWholeTextsAndPictures(form, true);
        form.close();
    });

    const QFont usual = QApplication::font();
    QFont larger = usual;
    larger.setPointSizeF(usual.pointSizeF() * 1.6);
    QApplication::setFont(larger);
    AboutPesterlyForm grown(nullptr);
    RunModal(grown, [&] {
        EXPECT_GT(grown.width(), form.width());
        ExpectWholeTextsAndPictures(grown, false);
        grown.close();
    });
    QApplication::setFont(usual);
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
