#include "store/Database.h"

#include <gtest/gtest.h>

namespace pesterly {
namespace {

Happening Named(const std::string& desc) {
    Happening h;
    h.Desc = desc;
    return h;
}

TEST(Database, RemovingMovesLaterEventsDownAndKeepsTheFreedSlot) {
    Database db;
    for (const char* name : {"a", "b", "c"}) {
        ASSERT_TRUE(db.AppendHappening(Named(name)));
    }
    db.RemoveHappening(0);
    EXPECT_EQ(db.HappeningCount, 2);
    EXPECT_EQ(db.Happenings[0].Desc, "b");
    EXPECT_EQ(db.Happenings[1].Desc, "c");
    EXPECT_EQ(db.Happenings[2].Desc, "c");  // not cleared

    db.RemoveHappening(1);  // the last live one: nothing moves
    EXPECT_EQ(db.HappeningCount, 1);
    EXPECT_EQ(db.Happenings[0].Desc, "b");

    db.RemoveHappening(5);  // no such live slot
    db.RemoveHappening(-1);
    EXPECT_EQ(db.HappeningCount, 1);
}

TEST(Database, TableHoldsAHundredAndOneEvents) {
    Database db;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(db.AppendHappening(Named(std::to_string(i))));
    }
    EXPECT_FALSE(db.IsFull());
    EXPECT_TRUE(db.AppendHappening(Named("100")));
    EXPECT_TRUE(db.IsFull());
    EXPECT_FALSE(db.AppendHappening(Named("101")));
    EXPECT_EQ(db.HappeningCount, 101);
    EXPECT_EQ(db.Happenings[100].Desc, "100");
}

TEST(Database, CategoriesStopAtAHundredAndResolveFromOne) {
    Database db;
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
