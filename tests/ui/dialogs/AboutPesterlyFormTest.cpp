#include "ui/dialogs/AboutPesterlyForm.h"

#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

TEST(AboutPesterlyForm, ShowsItsTextsAndPicturesWhole) {
    AboutPesterlyForm form(nullptr);
    RunModal(form, [&] {
        testing::ExpectTidyForm(form);
        for (const QLabel* picture : {form.Image1, form.Image2, form.Image3, form.Image4}) {
            EXPECT_FALSE(picture->pixmap().isNull()) << picture->objectName().toStdString();
        }
        form.close();
    });
}

}  // namespace
}  // namespace pesterly
