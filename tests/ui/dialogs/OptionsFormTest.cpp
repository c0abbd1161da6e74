#include "ui/dialogs/OptionsForm.h"

#include <QTimeEdit>

#include "store/Database.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

TEST(OptionsForm, TheTimeAppliesToTheSecondAtCloseWhateverEndsTheForm) {
    Database db;
    OptionsForm form{db.options, nullptr};
    db.options.CheckTime = DateValue::TimeOfDay(8, 0, 30);
    RunModal(form, [&] {
        testing::ExpectTidyForm(form);
        QTest::keyClick(form.CheckTimePicker, Qt::Key_Up);  // the hour
        EXPECT_EQ(form.CheckTimePicker->time(), QTime(9, 0, 30));
        EXPECT_EQ(db.options.CheckTime, DateValue::TimeOfDay(8, 0, 30)) << "nothing applies before";
        form.close();
    });
    EXPECT_EQ(db.options.CheckTime, DateValue::TimeOfDay(9, 0, 30));
    RunModal(form, [&] {  // a caller that ends the form itself
        QTest::keyClick(form.CheckTimePicker, Qt::Key_Down);
        form.reject();
    });
    EXPECT_EQ(db.options.CheckTime, DateValue::TimeOfDay(8, 0, 30));
}

}  // namespace
}  // namespace pesterly
