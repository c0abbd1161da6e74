#include "ui/dialogs/OptionsForm.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTimeEdit>

#include "store/Database.h"
#include "store/SettingsLayout.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

class OptionsFormTest : public ::testing::Test {
  protected:
    Database db;
    OptionsForm form{db, nullptr};
};

TEST_F(OptionsFormTest, TheTimeAppliesToTheSecondAtCloseWhateverEndsTheForm) {
    for (const DateValue time : {DateValue::TimeOfDay(0, 0, 0), DateValue::TimeOfDay(23, 59, 59),
                                 DateValue::TimeOfDay(13, 7, 41)}) {
        db.CheckTime = time;
        RunModal(form, [&] { form.close(); });
        EXPECT_EQ(db.CheckTime, time) << time.Seconds();
    }
    db.CheckTime = DateValue::TimeOfDay(8, 0, 30);
    RunModal(form, [&] {
        QTest::keyClick(form.CheckTimePicker, Qt::Key_Up);  // the hour
        EXPECT_EQ(form.CheckTimePicker->time(), QTime(9, 0, 30));
        QTest::keyClick(form.CheckTimePicker, Qt::Key_Escape);
        QTest::keyClick(form.CheckTimePicker, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << "Esc and Enter mean nothing to the form";
        EXPECT_EQ(db.CheckTime, DateValue::TimeOfDay(8, 0, 30)) << "nothing applies before";
        form.close();
    });
    EXPECT_EQ(db.CheckTime, DateValue::TimeOfDay(9, 0, 30));
    RunModal(form, [&] {  // a caller that ends the form itself
        QTest::keyClick(form.CheckTimePicker, Qt::Key_Down);
        form.reject();
    });
    EXPECT_EQ(db.CheckTime, DateValue::TimeOfDay(8, 0, 30));
}

TEST_F(OptionsFormTest, FirstStartShowsEightInTheMorningInATidyLayout) {
    testing::MemorySettingsStore empty;
    LoadOptions(db, empty, DateValue::Compose(2026, 12, 6));
    RunModal(form, [&] {
        EXPECT_EQ(form.CheckTimePicker->text(), "8:00:00 AM");
        EXPECT_GE(form.CheckTimePicker->width(), form.CheckTimePicker->sizeHint().width());
        testing::ExpectTidyForm(form);
        form.close();
    });
}

}  // namespace
}  // namespace pesterly
