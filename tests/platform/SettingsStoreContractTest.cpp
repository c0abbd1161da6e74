// The promises every settings store keeps, checked against each implementation.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "platform/IniSettingsStore.h"
#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

struct MemoryStoreMaker {
    std::shared_ptr<SettingsStore> store = std::make_shared<testing::MemorySettingsStore>();
    std::shared_ptr<SettingsStore> Open() { return store; }
};

struct IniStoreMaker {
    QTemporaryDir dir;
    std::shared_ptr<SettingsStore> Open() {
        return std::make_shared<IniSettingsStore>(dir.filePath(QStringLiteral("Pesterly.ini")));
    }
};

template <typename Maker>
class SettingsStoreContract : public ::testing::Test {
  protected:
    // A fresh view of the same stored data, as the next start of the program would see it.
    std::shared_ptr<SettingsStore> Reopen() { return maker_.Open(); }
    Maker maker_;
};

using Makers = ::testing::Types<MemoryStoreMaker, IniStoreMaker>;
TYPED_TEST_SUITE(SettingsStoreContract, Makers);

// A missing key gives the caller's default; names match without regard to case; the last save
// wins, and a removed key is gone, also at the next start.
TYPED_TEST(SettingsStoreContract, KeysFollowTheLastSaveAtTheNextStart) {
    auto store = this->Reopen();
    EXPECT_EQ(store->GetSetting("Events", "EventCount", "0"), "0");
    EXPECT_EQ(store->GetSetting("NoSuchSection", "Key", " "), " ");
    store->SaveSetting("Events", "ESEmail0", "a@example.org");
    EXPECT_EQ(store->GetSetting("EVENTS", "esemail0", ""), "a@example.org");
    EXPECT_EQ(store->GetSetting("Events", "EDesc1", "fallback"), "fallback");
    EXPECT_TRUE(store->HasSetting("events", "EsEmail0"));
    EXPECT_FALSE(store->HasSetting("Events", "EDesc1"));
    store->SaveSetting("events", "ESEMAIL0", "b@example.org");
    store->SaveSetting("NagList", "EmailCount", "2");
    store->SaveSetting("NagList", "UseTO", "False");
    ASSERT_TRUE(store->Commit());
    store->RemoveSetting("naglist", "usetO");
    store->RemoveSetting("NagList", "NoSuchKey");
    EXPECT_FALSE(store->HasSetting("NagList", "UseTO"));
    EXPECT_EQ(store->GetSetting("NagList", "UseTO", "True"), "True");
    store->SaveSetting("Options", "CheckTime", "8:00:00 AM");
    store->SaveSetting("Options", "CheckTime", "9:15:00 PM");
    EXPECT_EQ(store->GetSetting("Options", "CheckTime", ""), "9:15:00 PM");
    ASSERT_TRUE(store->Commit());
    auto reopened = this->Reopen();
    EXPECT_FALSE(reopened->HasSetting("NagList", "UseTO"));
    EXPECT_EQ(reopened->GetSetting("NagList", "EmailCount", ""), "2");
    EXPECT_EQ(reopened->GetSetting("Events", "EsEmail0", ""), "b@example.org");
    EXPECT_EQ(reopened->GetSetting("Options", "CheckTime", ""), "9:15:00 PM");
}

}  // namespace
}  // namespace pesterly
