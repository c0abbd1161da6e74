#include "ui/dialogs/EditHappening.h"

#include <QCheckBox>
#include <QDateEdit>

#include "store/Database.h"
#include "ui/dialogs/AddCategoryForm.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using namespace Qt::StringLiterals;

using namespace testing;

const Happening kSample{.EventDate = DateValue::Compose(2026, 3, 14, 14, 5, 9),
                        .Repeat = kRepeatWeekly,
                        .Desc = "Water the plants",
                        .DoneDate = DateValue::Compose(2026, 3, 7),
                        .SendMail = true,
                        .UseNagList = true,
                        .SpecialEmail = "me@x.org",
                        .Category = 1,
                        .EmailBody = "Both balconies"};

class EditHappeningTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.AppendCategory("Work");
        db.AppendCategory("Home");
        db.EditBuffer = kSample;
    }
    // Presses Add Category, types the name and ends the add-category form with OK or Cancel.
    void AddCategoryBy(bool ok) {
        QTimer::singleShot(0, &form, [&] {
            auto* add = form.findChild<AddCategoryForm*>();
            ASSERT_TRUE(add != nullptr && add->isVisible());
            QTest::keyClicks(add->DescText, u"Gym"_s);
            Click(ok ? add->OKButton : add->CancelButton);
        });
        Click(form.AddCategory);
    }
    void ExpectMailControlsEnabled(bool enabled) {
        for (QWidget* control : std::initializer_list<QWidget*>{form.Emailframe, form.FullList,
                                                                form.CustomEmail, form.BodyText}) {
            EXPECT_EQ(control->isEnabled(), enabled) << control->objectName().toStdString();
        }
    }

    Database db;
    EditHappening form{db, nullptr};
};

// Each opening shows the buffer afresh; each change alone enables OK; Cancel and the close box
// leave the buffer as it was.
TEST_F(EditHappeningTest, EveryOpeningShowsTheBufferOnlyAChangeEnablesOkAndOnlyOkStores) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"DescText", [&] { QTest::keyClicks(form.DescText, u"x"_s); }},
        {"DTPicker1", [&] { QTest::keyClick(form.DTPicker1, Qt::Key_Up); }},
        {"RepeatCombo", [&] { QTest::keyClick(form.RepeatCombo, Qt::Key_Up); }},
        {"CategoryCombo", [&] { QTest::keyClick(form.CategoryCombo, Qt::Key_Down); }},
        {"SendNagmail", [&] { Toggle(form.SendNagmail); }},
        {"FullList", [&] { Toggle(form.FullList); }},
        {"CustomEmail", [&] { QTest::keyClicks(form.CustomEmail, u"x"_s); }},
        {"BodyText", [&] { QTest::keyClicks(form.BodyText, u"x"_s); }},
    };
    bool cancel = true;
    for (const auto& [name, change] : changes) {
        db.EditBuffer.Desc = name;  // a buffer the form has not shown before
        db.EditCancelled = true;    // the opening must clear it
        const Happening shown = db.EditBuffer;
        RunModal(form, [&] {
            SCOPED_TRACE(name);
            EXPECT_EQ(
                (QStringList{form.DescText->text(), form.DTPicker1->date().toString(Qt::ISODate),
                             form.RepeatCombo->currentText(), form.CategoryCombo->currentText(),
                             form.CustomEmail->text(), form.BodyText->text()}),
                (QStringList{QString::fromUtf8(name), u"2026-03-14"_s, u"Weekly"_s, u"Work"_s,
                             u"me@x.org"_s, u"Both balconies"_s}));
            EXPECT_TRUE(form.SendNagmail->isChecked() && form.FullList->isChecked());
            ExpectMailControlsEnabled(true);
            EXPECT_FALSE(db.EditCancelled);
            EXPECT_FALSE(form.OKButton->isEnabled());
            change();
            EXPECT_TRUE(form.OKButton->isEnabled());
            cancel ? Click(form.CancelButton) : void(form.close());
        });
        EXPECT_EQ(db.EditBuffer, shown);
        EXPECT_EQ(db.EditCancelled, cancel) << "only Cancel is told";
        cancel = !cancel;
    }
}

TEST_F(EditHappeningTest, OkStoresTextsAsTypedTheTimeOfDayAndMailValuesWhileMailIsOff) {
    db.EditBuffer.SendMail = false;
    db.EditBuffer.EmailBody = "Line one\nLine two\r\nLine three";
    Happening expected = db.EditBuffer;
    const int result = RunModal(form, [&] {
        ExpectMailControlsEnabled(false);
        Toggle(form.SendNagmail);
        ExpectMailControlsEnabled(true);
        Toggle(form.FullList);
        QTest::keyClicks(form.CustomEmail, u" "_s);
        Toggle(form.SendNagmail);
        ExpectMailControlsEnabled(false);
        Retype(form.DescText, u"  Call mum "_s);
        QTest::keyClick(form.DTPicker1, Qt::Key_Up);
        QTest::keyClick(form.RepeatCombo, Qt::Key_Down);
        QTest::keyClick(form.CategoryCombo, Qt::Key_Down);
        Click(form.OKButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    expected.Desc = "  Call mum ";
    expected.EventDate = DateValue::Compose(2026, 4, 14, 14, 5, 9);
    expected.Repeat = kRepeatDaily;
    expected.Category = 2;
    expected.UseNagList = false;
    expected.SpecialEmail = "me@x.org ";
    EXPECT_EQ(db.EditBuffer, expected) << "the untouched body comes back byte for byte";

    RunModal(form, [&] {
        Retype(form.DescText, u""_s);
        Click(form.OKButton);
    });
    EXPECT_EQ(db.EditBuffer.Desc, "");
}

TEST_F(EditHappeningTest, WhatTheControlsCannotShowComesBackUnlessChanged) {
    const DateValue ancient = DateValue::Compose(12, 5, 1, 9, 30, 0);  // beyond the picker
    db.EditBuffer.EventDate = ancient;
    db.EditBuffer.Repeat = 7;
    db.EditBuffer.Category = 9;
    RunModal(form, [&] {
        EXPECT_EQ(form.RepeatCombo->currentIndex(), -1);
        EXPECT_EQ(form.CategoryCombo->currentIndex(), -1);
        EXPECT_FALSE(form.OKButton->isEnabled());
        QTest::keyClicks(form.DescText, u"!"_s);
        Click(form.OKButton);
    });
    EXPECT_EQ(db.EditBuffer.EventDate, ancient);
    EXPECT_EQ(db.EditBuffer.Repeat, 7);
    EXPECT_EQ(db.EditBuffer.Category, 9);

    RunModal(form, [&] {
        QTest::keyClick(form.RepeatCombo, Qt::Key_Down);
        QTest::keyClick(form.CategoryCombo, Qt::Key_Down);
        Click(form.OKButton);
    });
    EXPECT_EQ(db.EditBuffer.Repeat, kRepeatOneTime);
    EXPECT_EQ(db.EditBuffer.Category, 0);
}

TEST_F(EditHappeningTest, AddCategoryRebuildsTheListAndReselectsTheStoredCategory) {
    RunModal(form, [&] {
        EXPECT_EQ(Items(form.CategoryCombo), (QStringList{u"(none)"_s, u"Work"_s, u"Home"_s}));
        ExpectTidyForm(form);
        AddCategoryBy(true);
        EXPECT_EQ(Items(form.CategoryCombo),
                  (QStringList{u"(none)"_s, u"Work"_s, u"Home"_s, u"Gym"_s}));
        EXPECT_EQ(form.CategoryCombo->currentText(), u"Work"_s);
        EXPECT_TRUE(form.OKButton->isEnabled()) << "the rebuilt list counts as a change";
        QTest::keyClick(form.CategoryCombo, Qt::Key_Down);  // Home, not yet confirmed
        AddCategoryBy(false);
        EXPECT_EQ(form.CategoryCombo->count(), 4);
        EXPECT_EQ(form.CategoryCombo->currentText(), u"Work"_s);
        Click(form.OKButton);
    });
    EXPECT_EQ(db.CategoryCount, 3);
    EXPECT_EQ(db.EditBuffer.Category, 1);
}

}  // namespace
}  // namespace pesterly
