#include "ui/dialogs/AboutPesterlyForm.h"

#include <QApplication>

#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

TEST(AboutPesterlyForm, ShowsItsTextsAndPicturesWholeAtAnyFontSize) {
    const QFont usual = QApplication::font();
    int width = 0;
    for (const double scale : {1.0, 1.6}) {
        QFont font = usual;
        font.setPointSizeF(usual.pointSizeF() * scale);
        QApplication::setFont(font);
        AboutPesterlyForm form(nullptr);
        RunModal(form, [&] {
            testing::ExpectTidyForm(form, scale == 1.0);
            EXPECT_GT(form.width(), width) << "grows with the font";
            width = form.width();
            for (const QLabel* picture : {form.Image1, form.Image2, form.Image3, form.Image4}) {
                EXPECT_FALSE(picture->pixmap().isNull()) << picture->objectName().toStdString();
            }
            form.close();
        });
    }
    QApplication::setFont(usual);
}

}  // namespace
}  // namespace pesterly
