#include "ui/dialogs/AddCategoryForm.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "store/Database.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

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
            QTest::mouseClick(form.OKButton, Qt::LeftButton);
        });
    }

    Database db;
    AddCategoryForm form{db, nullptr};
};

TEST_F(AddCategoryFormTest, NameIsStoredExactlyAsTypedBlanksIncluded) {
    RunModal(form, [&] {
        EXPECT_EQ(form.windowTitle(), "Add a Category");
        EXPECT_EQ(form.DescText->text(), "");
        EXPECT_FALSE(form.OKButton->isEnabled());
        EXPECT_EQ(form.focusWidget(), form.CancelButton);
        QTest::keyClicks(form.DescText, "   ");
        EXPECT_FALSE(form.OKButton->isEnabled()) << "blanks alone are no name";
        QTest::keyClicks(form.DescText, "Gym  ");
        EXPECT_TRUE(form.OKButton->isEnabled());
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.CategoryCount, 3);
    EXPECT_EQ(db.Categories[2], "   Gym  ");
    EXPECT_EQ(db.Categories[0], "Work");
}

TEST_F(AddCategoryFormTest, ErasingTheNameDisablesOkAgain) {
    RunModal(form, [&] {
        QTest::keyClicks(form.DescText, "ab");
        QTest::keyClick(form.DescText, Qt::Key_Backspace);
        EXPECT_TRUE(form.OKButton->isEnabled());
        QTest::keyClick(form.DescText, Qt::Key_Backspace);
        EXPECT_FALSE(form.OKButton->isEnabled());
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    });
    EXPECT_EQ(db.CategoryCount, 2);
}

TEST_F(AddCategoryFormTest, SameNameTwiceMakesTwoEntries) {
    AddByOk("Home");
    EXPECT_EQ(db.CategoryCount, 3);
    EXPECT_EQ(db.Categories[1], "Home");
    EXPECT_EQ(db.Categories[2], "Home");
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
        if (before < after) {
            EXPECT_EQ(db.Categories[before], "New");
        } else if (before < Database::kSlots) {
            EXPECT_EQ(db.Categories[before], "untouched");
        }
    }
}

TEST_F(AddCategoryFormTest, CancelCloseBoxAndEscChangeNothingAndNextOpeningStartsEmpty) {
    RunModal(form, [&] {
        QTest::keyClicks(form.DescText, "Gym");
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    });
    RunModal(form, [&] {
        EXPECT_EQ(form.DescText->text(), "") << "a new opening starts afresh";
        EXPECT_FALSE(form.OKButton->isEnabled());
        QTest::keyClicks(form.DescText, "Gym");
        QTest::keyClick(form.DescText, Qt::Key_Escape);
        QTest::keyClick(form.DescText, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << "Esc and Enter mean nothing to the form";
        form.close();
    });
    EXPECT_EQ(db.CategoryCount, 2);
    EXPECT_EQ(db.Categories[2], "");
}

TEST(AddCategoryFormPlacement, OpensCentredOnTheWindowThatOpensIt) {
    Database db;
    QWidget owner;
    owner.setGeometry(60, 40, 500, 400);
    owner.show();
    AddCategoryForm form(db, &owner);
    RunModal(form, [&] {
        const QPoint offset = form.frameGeometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << ", " << offset.y();
        form.close();
    });
}

TEST_F(AddCategoryFormTest, EveryCaptionFitsAndNothingOverlaps) {
    RunModal(form, [&] {
        testing::ExpectTidyLayout(form);
        testing::ExpectNoDefaultButton(form);
        testing::SaveShot(form);
        form.close();
    });
}

}  // namespace
}  // namespace pesterly
