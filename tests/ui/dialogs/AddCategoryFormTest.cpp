#include "ui/dialogs/AddCategoryForm.h"

#include <gtest/gtest.h>

#include "store/Database.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using namespace testing;

class AddCategoryFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.AppendCategory("Work");
        db.AppendCategory("Home");
    }
    // Opens the form, types the name and presses OK.
    int AddByOk(const QString& name) {
        return RunModal(form, [&] {
            QTest::keyClicks(form.DescText, name);
            Click(form.OKButton);
        });
    }

    Database db;
    AddCategoryForm form{db, nullptr};
};

// Esc and Enter mean nothing to any of Pesterly's forms.
TEST_F(AddCategoryFormTest, OnlyOkStoresTheNameExactlyAsTypedAndEveryOpeningStartsEmpty) {
    for (const bool cancel : {true, false}) {
        RunModal(form, [&] {
            QTest::keyClicks(form.DescText, "Gym");
            cancel ? Click(form.CancelButton) : void(form.close());
        });
    }
    EXPECT_EQ(db.CategoryCount, 2);
    RunModal(form, [&] {
        EXPECT_EQ(form.DescText->text(), "");
        EXPECT_FALSE(form.OKButton->isEnabled());
        ExpectTidyForm(form);
        QTest::keyClicks(form.DescText, "   ");
        EXPECT_FALSE(form.OKButton->isEnabled()) << "blanks alone are no name";
        QTest::keyClicks(form.DescText, "G");
        EXPECT_TRUE(form.OKButton->isEnabled());
        QTest::keyClick(form.DescText, Qt::Key_Backspace);
        EXPECT_FALSE(form.OKButton->isEnabled()) << "erased back to blanks";
        QTest::keyClicks(form.DescText, "Gym  ");
        QTest::keyClick(form.DescText, Qt::Key_Escape);
        QTest::keyClick(form.DescText, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << "Esc and Enter mean nothing to the form";
        Click(form.OKButton);
    });
    AddByOk("Home");
    EXPECT_EQ(db.CategoryCount, 4);
    EXPECT_EQ(db.Categories[2], "   Gym  ");
    EXPECT_EQ(db.Categories[3], "Home") << "the same name twice makes two entries";
}

TEST_F(AddCategoryFormTest, HundredthNameIsTheLastOneTaken) {
    // Held before OK, and held after it.
    const std::pair<int16_t, int16_t> cases[] = {{98, 99}, {99, 100}, {100, 100}, {101, 101}};
    for (const auto& [before, after] : cases) {
        db.CategoryCount = before;
        if (before < Database::kSlots) {
            db.Categories[before] = "untouched";
        }
        EXPECT_EQ(AddByOk("New"), QDialog::Accepted);
        EXPECT_EQ(db.CategoryCount, after) << before;
        if (before < Database::kSlots) {
            EXPECT_EQ(db.Categories[before], before < after ? "New" : "untouched");
        }
    }
}

}  // namespace
}  // namespace pesterly
