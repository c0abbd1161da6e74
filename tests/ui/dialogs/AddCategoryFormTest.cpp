#include "ui/dialogs/AddCategoryForm.h"

#include "store/Database.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using namespace Qt::StringLiterals;

using namespace testing;

// Esc and Enter mean nothing to any of Pesterly's forms.
TEST(AddCategoryForm, OnlyOkStoresTheNameExactlyAsTypedAndEveryOpeningStartsEmpty) {
    Database db;
    db.AppendCategory("Work");
    db.AppendCategory("Home");
    AddCategoryForm form{db, nullptr};
    for (const bool cancel : {true, false}) {
        RunModal(form, [&] {
            QTest::keyClicks(form.DescText, u"Gym"_s);
            cancel ? Click(form.CancelButton) : void(form.close());
        });
    }
    EXPECT_EQ(db.CategoryCount, 2);
    RunModal(form, [&] {
        EXPECT_EQ(form.DescText->text(), u""_s);
        EXPECT_FALSE(form.OKButton->isEnabled());
        ExpectTidyForm(form);
        QTest::keyClicks(form.DescText, u"   "_s);
        EXPECT_FALSE(form.OKButton->isEnabled()) << "blanks alone are no name";
        QTest::keyClicks(form.DescText, u"G"_s);
        EXPECT_TRUE(form.OKButton->isEnabled());
        QTest::keyClick(form.DescText, Qt::Key_Backspace);
        EXPECT_FALSE(form.OKButton->isEnabled()) << "erased back to blanks";
        QTest::keyClicks(form.DescText, u"Gym  "_s);
        QTest::keyClick(form.DescText, Qt::Key_Escape);
        QTest::keyClick(form.DescText, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << "Esc and Enter mean nothing to the form";
        Click(form.OKButton);
    });
    RunModal(form, [&] {
        QTest::keyClicks(form.DescText, u"Home"_s);
        Click(form.OKButton);
    });
    EXPECT_EQ(db.CategoryCount, 4);
    EXPECT_EQ(db.Categories[2], "   Gym  ");
    EXPECT_EQ(db.Categories[3], "Home") << "the same name twice makes two entries";
}

}  // namespace
}  // namespace pesterly
