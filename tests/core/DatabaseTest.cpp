#include "store/Database.h"

#include <gtest/gtest.h>

namespace pesterly {
namespace {

// How the table grows and shrinks is seen through the review, the import and the settings
// layout; what is left here is what no person's path reaches on its own.
TEST(Database, SlotsOutsideTheTableAreLeftAloneAndCategoriesResolveFromOne) {
    Database db;
    db.AppendHappening(Happening{});
    db.RemoveHappening(5);  // no such live slot
    db.RemoveHappening(-1);
    EXPECT_EQ(db.HappeningCount, 1);
    for (int i = 0; i < 99; ++i) {
        ASSERT_TRUE(db.AppendCategory(std::string("c").append(std::to_string(i))));
    }
    EXPECT_TRUE(db.AppendCategory("hundredth"));
    EXPECT_FALSE(db.AppendCategory("one too many"));
    EXPECT_EQ(db.CategoryCount, 100);
    EXPECT_EQ(db.CategoryName(0), "");
    EXPECT_EQ(db.CategoryName(1), "c0");
    EXPECT_EQ(db.CategoryName(100), "hundredth");
    EXPECT_EQ(db.CategoryName(101), "");  // slot 100 exists but was never filled
    EXPECT_EQ(db.CategoryName(102), "");
    EXPECT_EQ(db.CategoryName(-4), "");
}

}  // namespace
}  // namespace pesterly
