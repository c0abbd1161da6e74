#include "ui/dialogs/EditHappening.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "store/Database.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/AddCategoryForm.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

Happening Sample() {
    Happening h;
    h.EventDate = DateValue::Compose(2026, 3, 14, 14, 5, 9);
    h.Repeat = kRepeatWeekly;
    h.Desc = "Water the plants";
    h.DoneDate = DateValue::Compose(2026, 3, 7);
    h.SendMail = true;
    h.UseNagList = true;
    h.SpecialEmail = "me@x.org";
    h.Category = 1;
    h.EmailBody = "Both balconies";
    return h;
}

// Check boxes answer a click on their box or caption, at the left end.
void Toggle(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void Retype(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

class EditHappeningTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.AppendCategory("Work");
        db.AppendCategory("Home");
        db.EditBuffer = Sample();
        db.EditCancelled = true;  // the form must clear it
    }
    // Presses Add Category and runs the steps inside the add-category form.
    void AddCategoryThen(const std::function<void(AddCategoryForm&)>& steps) {
        QTimer::singleShot(0, &form, [&] {
            auto* add = form.findChild<AddCategoryForm*>();
            ASSERT_NE(add, nullptr);
            ASSERT_TRUE(add->isVisible());
            steps(*add);
        });
        QTest::mouseClick(form.AddCategory, Qt::LeftButton);
    }

    Database db;
    EditHappening form{db, nullptr};
};

TEST_F(EditHappeningTest, OpensShowingTheBufferWithOkDisabled) {
    RunModal(form, [&] {
        EXPECT_EQ(form.windowTitle(), "Edit Event");
        EXPECT_EQ(form.DescText->text(), "Water the plants");
        EXPECT_EQ(form.DTPicker1->date(), QDate(2026, 3, 14));
        EXPECT_EQ(form.RepeatCombo->count(), 5);
        EXPECT_EQ(form.RepeatCombo->currentText(), "Weekly");
        EXPECT_EQ(form.CategoryCombo->count(), 3);
        EXPECT_EQ(form.CategoryCombo->itemText(0), "(none)");
        EXPECT_EQ(form.CategoryCombo->currentText(), "Work");
        EXPECT_TRUE(form.SendNagmail->isChecked());
        EXPECT_TRUE(form.Emailframe->isEnabled());
        EXPECT_TRUE(form.FullList->isChecked());
        EXPECT_EQ(form.CustomEmail->text(), "me@x.org");
        EXPECT_EQ(form.BodyText->text(), "Both balconies");
        EXPECT_FALSE(form.OKButton->isEnabled());
        EXPECT_TRUE(form.CancelButton->isEnabled());
        EXPECT_EQ(form.focusWidget(), form.RepeatCombo);
        EXPECT_FALSE(db.EditCancelled);
        form.close();
    });
}

TEST_F(EditHappeningTest, EveryOpeningShowsTheCodesOfTheBufferAfresh) {
    const std::tuple<int16_t, const char*, int16_t, const char*> cases[] = {
        {kRepeatOneTime, "None", 0, "(none)"},
        {kRepeatYearly, "Yearly", 2, "Home"},
        {kRepeatDaily, "Daily", 1, "Work"}};
    for (const auto& [repeat, repeat_text, category, category_text] : cases) {
        db.EditBuffer.Repeat = repeat;
        db.EditBuffer.Category = category;
        RunModal(form, [&] {
            EXPECT_EQ(form.RepeatCombo->currentText(), repeat_text);
            EXPECT_EQ(form.CategoryCombo->currentText(), category_text);
            EXPECT_FALSE(form.OKButton->isEnabled());
            // Leaves edits behind that the next opening must not show.
            QTest::keyClick(form.RepeatCombo, Qt::Key_Down);
            QTest::keyClicks(form.DescText, "!");
            QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        });
    }
    db.CategoryCount = 0;
    RunModal(form, [&] {
        EXPECT_EQ(form.CategoryCombo->count(), 1) << "only (none) without categories";
        EXPECT_EQ(form.DescText->text(), "Water the plants");
        form.close();
    });
}

TEST_F(EditHappeningTest, EachControlAloneEnablesOk) {
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"DescText", [&] { QTest::keyClicks(form.DescText, "x"); }},
        {"DTPicker1", [&] { QTest::keyClick(form.DTPicker1, Qt::Key_Up); }},
        {"RepeatCombo", [&] { QTest::keyClick(form.RepeatCombo, Qt::Key_Up); }},
        {"CategoryCombo", [&] { QTest::keyClick(form.CategoryCombo, Qt::Key_Down); }},
        {"SendNagmail", [&] { Toggle(form.SendNagmail); }},
        {"FullList", [&] { Toggle(form.FullList); }},
        {"CustomEmail", [&] { QTest::keyClicks(form.CustomEmail, "x"); }},
        {"BodyText", [&] { QTest::keyClicks(form.BodyText, "x"); }},
    };
    for (const auto& [name, edit] : edits) {
        RunModal(form, [&] {
            EXPECT_FALSE(form.OKButton->isEnabled()) << name;
            edit();
            EXPECT_TRUE(form.OKButton->isEnabled()) << name;
            QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        });
    }
}

TEST_F(EditHappeningTest, OkStoresTextsAsTypedAndLeavesTheDoneDate) {
    const int result = RunModal(form, [&] {
        Retype(form.DescText, "  Call mum ");
        QTest::keyClick(form.RepeatCombo, Qt::Key_Down);
        QTest::keyClick(form.CategoryCombo, Qt::Key_Down);
        Retype(form.CustomEmail, "");
        Retype(form.BodyText, " hi ");
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    Happening expected = Sample();
    expected.Desc = "  Call mum ";
    expected.Repeat = kRepeatDaily;
    expected.Category = 2;
    expected.SpecialEmail = "";
    expected.EmailBody = " hi ";
    EXPECT_EQ(db.EditBuffer, expected);
    EXPECT_FALSE(db.EditCancelled);

    RunModal(form, [&] {
        Retype(form.DescText, "");
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.EditBuffer.Desc, "");
}

TEST_F(EditHappeningTest, UntouchedTextsComeBackByteForByte) {
    db.EditBuffer.Desc = "\tTabbed  ";
    db.EditBuffer.SpecialEmail = " a@x.org ";
    db.EditBuffer.EmailBody = "Line one\nLine two\r\nLine three";
    const Happening before = db.EditBuffer;
    RunModal(form, [&] {
        Toggle(form.FullList);
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    Happening expected = before;
    expected.UseNagList = false;
    EXPECT_EQ(db.EditBuffer, expected);
}

TEST_F(EditHappeningTest, MailControlsFollowSendNagMailAndKeepTheirValues) {
    db.EditBuffer.SendMail = false;
    RunModal(form, [&] {
        EXPECT_FALSE(form.SendNagmail->isChecked());
        for (QWidget* control : std::initializer_list<QWidget*>{form.Emailframe, form.FullList,
                                                                form.CustomEmail, form.BodyText}) {
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        }
        Toggle(form.SendNagmail);
        EXPECT_TRUE(form.OKButton->isEnabled());
        for (QWidget* control : std::initializer_list<QWidget*>{form.Emailframe, form.FullList,
                                                                form.CustomEmail, form.BodyText}) {
            EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
        }
        Toggle(form.FullList);
        QTest::keyClicks(form.CustomEmail, ".uk");
        Toggle(form.SendNagmail);
        EXPECT_FALSE(form.CustomEmail->isEnabled());
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_FALSE(db.EditBuffer.SendMail);
    EXPECT_FALSE(db.EditBuffer.UseNagList);
    EXPECT_EQ(db.EditBuffer.SpecialEmail, "me@x.org.uk");
    EXPECT_EQ(db.EditBuffer.EmailBody, "Both balconies");
}

TEST_F(EditHappeningTest, CancelAndCloseBoxLeaveTheBufferAsTheCallerFilledIt) {
    const auto edit_everything = [&] {
        Retype(form.DescText, "Something else");
        QTest::keyClick(form.RepeatCombo, Qt::Key_Up);
        QTest::keyClick(form.DTPicker1, Qt::Key_Up);
        Toggle(form.SendNagmail);
        QTest::keyClick(form.DescText, Qt::Key_Escape);
        QTest::keyClick(form.DescText, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << "Esc and Enter mean nothing to the form";
    };
    RunModal(form, [&] {
        edit_everything();
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.EditBuffer, Sample());
    EXPECT_TRUE(db.EditCancelled);

    RunModal(form, [&] {
        edit_everything();
        form.close();
    });
    EXPECT_EQ(db.EditBuffer, Sample());
    EXPECT_FALSE(db.EditCancelled) << "the close box is not Cancel";
}

TEST_F(EditHappeningTest, AddCategoryRebuildsTheListAndReselectsTheStoredCategory) {
    RunModal(form, [&] {
        QTest::keyClick(form.CategoryCombo, Qt::Key_Down);  // Home, not yet confirmed
        AddCategoryThen([](AddCategoryForm& add) {
            QTest::keyClicks(add.DescText, "Gym");
            QTest::mouseClick(add.CancelButton, Qt::LeftButton);
        });
        EXPECT_EQ(form.CategoryCombo->count(), 3);
        EXPECT_EQ(form.CategoryCombo->currentText(), "Work");
        EXPECT_TRUE(form.OKButton->isEnabled());
        form.close();
    });
    RunModal(form, [&] {
        AddCategoryThen([](AddCategoryForm& add) {
            QTest::keyClicks(add.DescText, "Gym");
            QTest::mouseClick(add.OKButton, Qt::LeftButton);
        });
        EXPECT_EQ(form.CategoryCombo->count(), 4);
        EXPECT_EQ(form.CategoryCombo->itemText(3), "Gym");
        EXPECT_EQ(form.CategoryCombo->currentText(), "Work");
        EXPECT_TRUE(form.OKButton->isEnabled());
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.CategoryCount, 3);
    EXPECT_EQ(db.EditBuffer.Category, 1);
}

TEST_F(EditHappeningTest, CodesWithoutAListEntryComeBackUnlessAnotherIsPicked) {
    db.EditBuffer.Repeat = 7;
    db.EditBuffer.Category = 9;
    RunModal(form, [&] {
        EXPECT_EQ(form.RepeatCombo->currentIndex(), -1);
        EXPECT_EQ(form.CategoryCombo->currentIndex(), -1);
        EXPECT_FALSE(form.OKButton->isEnabled());
        QTest::keyClicks(form.DescText, "!");
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.EditBuffer.Repeat, 7);
    EXPECT_EQ(db.EditBuffer.Category, 9);

    RunModal(form, [&] {
        QTest::keyClick(form.RepeatCombo, Qt::Key_Down);
        QTest::keyClick(form.CategoryCombo, Qt::Key_Down);
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.EditBuffer.Repeat, kRepeatOneTime);
    EXPECT_EQ(db.EditBuffer.Category, 0);
}

TEST_F(EditHappeningTest, TheEventKeepsItsTimeOfDay) {
    RunModal(form, [&] {
        QTest::keyClicks(form.DescText, "!");
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.EditBuffer.EventDate, DateValue::Compose(2026, 3, 14, 14, 5, 9));

    RunModal(form, [&] {
        QTest::keyClick(form.DTPicker1, Qt::Key_Up);
        EXPECT_EQ(form.DTPicker1->date(), QDate(2026, 4, 14));
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.EditBuffer.EventDate, DateValue::Compose(2026, 4, 14, 14, 5, 9));

    // A year the picker cannot show survives an edit of something else.
    const DateValue ancient = DateValue::Compose(12, 5, 1, 9, 30, 0);
    db.EditBuffer.EventDate = ancient;
    RunModal(form, [&] {
        QTest::keyClicks(form.DescText, "!");
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.EditBuffer.EventDate, ancient);
}

TEST_F(EditHappeningTest, EveryCaptionFitsAndNothingOverlaps) {
    RunModal(form, [&] {
        testing::ExpectTidyLayout(form);
        testing::ExpectNoDefaultButton(form);
        EXPECT_GE(form.DTPicker1->width(), form.DTPicker1->sizeHint().width());
        testing::SaveShot(form);
        form.close();
    });
}

}  // namespace
}  // namespace pesterly
