#include "ui/dialogs/NagList.h"

#include <QRadioButton>

#include "support/MemorySettingsStore.h"
#include "support/ScriptedAsker.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using namespace Qt::StringLiterals;

using namespace testing;

class NagListTest : public ::testing::Test {
  protected:
    void Store(const char* key, const char* value) { store.SaveSetting("NagList", key, value); }
    std::string Stored(const char* key) { return store.GetSetting("NagList", key, "<missing>"); }
    void StoreThree() {
        Store("EmailCount", "3");
        Store("Email0", "a@x.org");
        Store("Email1", "b@x.org");
        Store("Email2", "c@x.org");
        Store("ToAddress", "  boss@x.org ");
    }
    void Pick(int row) {
        const QRect rect = form.Emails->visualItemRect(form.Emails->item(row));
        QTest::mouseClick(form.Emails->viewport(), Qt::LeftButton, {}, rect.center());
    }

    testing::MemorySettingsStore store;
    testing::ScriptedAsker asker;
    NagList form{store, asker, nullptr};
};

// The first start opens empty with the To line; each opening shows the stored list afresh and
// unchanged; each kind of change alone enables OK; Cancel and the close box write nothing.
TEST_F(NagListTest, EachChangeEnablesOkAndCancelOrCloseBoxWritesNothing) {
    RunModal(form, [&] {
        EXPECT_EQ(form.Emails->count(), 0);
        EXPECT_TRUE(form.UseToOption->isChecked() && !form.ToAddress->isEnabled());
        ExpectTidyForm(form);
        form.close();
    });
    EXPECT_FALSE(store.HasSetting("NagList", "EmailCount"));
    StoreThree();
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"True",
         [&] {
             QTest::keyClicks(form.NewEmail, u"z@x.org"_s);
             Click(form.AddEmail);
         }},
        {"True",
         [&] {
             Pick(1);
             Click(form.DeleteEmail);
         }},
        {"True", [&] { Toggle(form.UseBCCOption); }},
        {"true", [&] { Toggle(form.UseToOption); }},  // only exactly True means the To line
        {"False", [&] { QTest::keyClicks(form.ToAddress, u"x"_s); }},
    };
    bool cancel = true;
    for (const auto& [use_to, change] : changes) {
        Store("UseTO", use_to);
        RunModal(form, [&] {
            SCOPED_TRACE(use_to);
            EXPECT_EQ(Items(form.Emails), (QStringList{u"a@x.org"_s, u"b@x.org"_s, u"c@x.org"_s}));
            EXPECT_EQ(form.NewEmail->text(), u""_s);
            EXPECT_EQ(form.UseToOption->isChecked(), std::string(use_to) == "True");
            EXPECT_EQ(form.ToAddress->isEnabled(), form.UseBCCOption->isChecked());
            EXPECT_EQ(form.ToAddress->text(), u"  boss@x.org "_s);
            EXPECT_FALSE(form.AddEmail->isEnabled() || form.DeleteEmail->isEnabled() ||
                         form.OKButton->isEnabled());
            change();
            EXPECT_TRUE(form.OKButton->isEnabled());
            cancel ? Click(form.CancelButton) : void(form.close());
        });
        cancel = !cancel;
        EXPECT_EQ(Stored("EmailCount"), "3");
        EXPECT_EQ(Stored("Email1"), "b@x.org");
        EXPECT_FALSE(store.HasSetting("NagList", "Email3"));
        EXPECT_EQ(Stored("UseTO"), use_to);
        EXPECT_EQ(Stored("ToAddress"), "  boss@x.org ");
        EXPECT_EQ(store.commits, 0);
    }
}

// A failed save is told and the form stays open for another try.
TEST_F(NagListTest, OkSavesTrimmedEntriesTheToAddressAsTypedAndTheChosenOption) {
    StoreThree();
    store.fail_next_commit = "Pesterly could not write its settings file.";
    RunModal(form, [&] {
        Pick(0);
        Click(form.DeleteEmail);
        EXPECT_TRUE(form.DeleteEmail->isEnabled()) << "Delete stays enabled";
        Click(form.DeleteEmail);
        EXPECT_EQ(Items(form.Emails), (QStringList{u"b@x.org"_s, u"c@x.org"_s}))
            << "nothing was picked";
        QTest::keyClicks(form.NewEmail, u"   "_s);
        EXPECT_FALSE(form.AddEmail->isEnabled()) << "blanks alone cannot be added";
        QTest::keyClicks(form.NewEmail, u"x  "_s);
        Click(form.AddEmail);
        EXPECT_EQ(form.NewEmail->text(), u""_s);
        EXPECT_FALSE(form.AddEmail->isEnabled());
        Toggle(form.UseBCCOption);
        QTest::keyClicks(form.ToAddress, u" "_s);
        Toggle(form.UseToOption);
        EXPECT_FALSE(form.ToAddress->isEnabled());
        Click(form.OKButton);
        EXPECT_THAT(asker.messages,
                    ::testing::ElementsAre(::testing::HasSubstr("could not write")));
        EXPECT_TRUE(form.isVisible());
        Click(form.OKButton);
    });
    EXPECT_EQ(asker.messages.size(), 1u);
    EXPECT_EQ(Stored("EmailCount"), "3");
    EXPECT_EQ(Stored("Email0"), "b@x.org");
    EXPECT_EQ(Stored("Email1"), "c@x.org");
    EXPECT_EQ(Stored("Email2"), "x");
    EXPECT_EQ(Stored("UseTO"), "True");
    EXPECT_EQ(Stored("ToAddress"), "  boss@x.org  ") << "kept untrimmed while disabled";
    EXPECT_EQ(store.commits, 1);
}

// The values OK could not save are not kept behind the user's back: after Cancel the store is
// as the form found it, so the save at exit does not write them either.
TEST_F(NagListTest, CancelAfterAFailedOkLeavesTheStoreAsItWas) {
    StoreThree();
    store.fail_next_commit = "Pesterly could not write its settings file.";
    RunModal(form, [&] {
        Pick(0);
        Click(form.DeleteEmail);
        Toggle(form.UseBCCOption);
        Click(form.OKButton);
        Click(form.CancelButton);
    });
    EXPECT_EQ(Stored("EmailCount"), "3");
    EXPECT_EQ(Stored("Email0"), "a@x.org");
    EXPECT_EQ(Stored("Email2"), "c@x.org");
    EXPECT_FALSE(store.HasSetting("NagList", "UseTO"));
    EXPECT_EQ(store.commits, 0);
}

}  // namespace
}  // namespace pesterly
