#include "ui/dialogs/NagList.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "support/ScriptedAsker.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

class NagListTest : public ::testing::Test {
  protected:
    void Store(const char* key, const char* value) { store.SaveSetting("NagList", key, value); }
    std::string Stored(const char* key) { return store.GetSetting("NagList", key, "<missing>"); }
    void StoreThree() {
        Store("EmailCount", "3");
        Store("Email0", "a@x.org");
        Store("Email1", "b@x.org");
        Store("Email2", "c@x.org");
    }
    QStringList Entries() const {
        QStringList entries;
        for (int k = 0; k < form.Emails->count(); ++k) {
            entries << form.Emails->item(k)->text();
        }
        return entries;
    }
    void Pick(int row) {
        const QRect rect = form.Emails->visualItemRect(form.Emails->item(row));
        QTest::mouseClick(form.Emails->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Option buttons answer a click on their circle or caption, at the left end.
    static void Choose(QRadioButton* option) {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }

    testing::MemorySettingsStore store;
    testing::ScriptedAsker asker;
    NagList form{store, asker, nullptr};
};

TEST_F(NagListTest, FirstStartOpensEmptyWithToLineAndNothingToSave) {
    RunModal(form, [&] {
        EXPECT_EQ(form.windowTitle(), "Edit Nag List");
        EXPECT_EQ(form.Emails->count(), 0);
        EXPECT_TRUE(form.UseToOption->isChecked());
        EXPECT_FALSE(form.UseBCCOption->isChecked());
        EXPECT_EQ(form.ToAddress->text(), "");
        EXPECT_FALSE(form.ToAddress->isEnabled());
        EXPECT_FALSE(form.OKButton->isEnabled());
        EXPECT_FALSE(form.AddEmail->isEnabled());
        EXPECT_FALSE(form.DeleteEmail->isEnabled());
        form.close();
    });
    EXPECT_FALSE(store.Has("NagList", "EmailCount"));
}

TEST_F(NagListTest, AnythingButExactlyTrueOpensWithBlindCopies) {
    for (const char* stored : {"False", "true", "yes"}) {
        Store("UseTO", stored);
        Store("ToAddress", " boss@x.org ");
        RunModal(form, [&] {
            EXPECT_TRUE(form.UseBCCOption->isChecked()) << stored;
            EXPECT_TRUE(form.ToAddress->isEnabled()) << stored;
            EXPECT_EQ(form.ToAddress->text(), " boss@x.org ");
            EXPECT_FALSE(form.OKButton->isEnabled()) << "the load is no change";
            form.close();
        });
    }
}

TEST_F(NagListTest, AddTrimsTheAddressAndBlanksAloneCannotBeAdded) {
    StoreThree();
    RunModal(form, [&] {
        QTest::keyClicks(form.NewEmail, "   ");
        EXPECT_FALSE(form.AddEmail->isEnabled());
        QTest::keyClicks(form.NewEmail, "x  ");
        EXPECT_TRUE(form.AddEmail->isEnabled());
        QTest::mouseClick(form.AddEmail, Qt::LeftButton);
        EXPECT_EQ(form.NewEmail->text(), "");
        EXPECT_FALSE(form.AddEmail->isEnabled());
        EXPECT_TRUE(form.OKButton->isEnabled());
        QTest::keyClicks(form.NewEmail, "a@x.org");
        QTest::mouseClick(form.AddEmail, Qt::LeftButton);
        EXPECT_EQ(Entries(), (QStringList{"a@x.org", "b@x.org", "c@x.org", "x", "a@x.org"}));
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(Stored("EmailCount"), "5");
    EXPECT_EQ(Stored("Email3"), "x");
    EXPECT_EQ(Stored("Email4"), "a@x.org");
}

TEST_F(NagListTest, ThreeEntriesCutToOneSaveOneAndLeaveTheRestUnread) {
    StoreThree();
    RunModal(form, [&] {
        EXPECT_EQ(Entries(), (QStringList{"a@x.org", "b@x.org", "c@x.org"}));
        QTest::mouseClick(form.DeleteEmail, Qt::LeftButton);
        EXPECT_EQ(form.Emails->count(), 3) << "Delete opens disabled";
        Pick(0);
        EXPECT_TRUE(form.DeleteEmail->isEnabled());
        QTest::mouseClick(form.DeleteEmail, Qt::LeftButton);
        EXPECT_TRUE(form.OKButton->isEnabled());
        EXPECT_TRUE(form.DeleteEmail->isEnabled()) << "Delete stays enabled";
        QTest::mouseClick(form.DeleteEmail, Qt::LeftButton);
        EXPECT_EQ(Entries(), (QStringList{"b@x.org", "c@x.org"})) << "nothing was picked";
        Pick(0);
        QTest::mouseClick(form.DeleteEmail, Qt::LeftButton);
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(Stored("EmailCount"), "1");
    EXPECT_EQ(Stored("Email0"), "c@x.org");
    EXPECT_EQ(Stored("Email1"), "b@x.org");
    EXPECT_EQ(Stored("Email2"), "c@x.org");
    EXPECT_EQ(store.commits, 1);
}

TEST_F(NagListTest, CancelCloseBoxAndEscWriteNothing) {
    StoreThree();
    const std::function<void()> endings[] = {
        [&] { QTest::mouseClick(form.CancelButton, Qt::LeftButton); },
        [&] { form.close(); },
    };
    for (const auto& end : endings) {
        RunModal(form, [&] {
            Pick(1);
            QTest::mouseClick(form.DeleteEmail, Qt::LeftButton);
            QTest::keyClicks(form.NewEmail, "z@x.org");
            QTest::mouseClick(form.AddEmail, Qt::LeftButton);
            Choose(form.UseBCCOption);
            QTest::keyClicks(form.ToAddress, "boss@x.org");
            QTest::keyClick(form.ToAddress, Qt::Key_Escape);
            QTest::keyClick(form.ToAddress, Qt::Key_Return);
            EXPECT_TRUE(form.isVisible()) << "Esc and Enter mean nothing to the form";
            end();
        });
        EXPECT_EQ(Stored("EmailCount"), "3");
        EXPECT_EQ(Stored("Email1"), "b@x.org");
        EXPECT_FALSE(store.Has("NagList", "Email3"));
        EXPECT_FALSE(store.Has("NagList", "UseTO"));
        EXPECT_FALSE(store.Has("NagList", "ToAddress"));
        EXPECT_EQ(store.commits, 0);
    }
}

TEST_F(NagListTest, ChoosingOptionsBackAndForthStillSavesEveryKey) {
    Store("ToAddress", "  boss@x.org ");
    RunModal(form, [&] {
        Choose(form.UseBCCOption);
        EXPECT_TRUE(form.ToAddress->isEnabled());
        Choose(form.UseToOption);
        EXPECT_FALSE(form.ToAddress->isEnabled());
        EXPECT_TRUE(form.OKButton->isEnabled());
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(Stored("EmailCount"), "0");
    EXPECT_EQ(Stored("UseTO"), "True");
    EXPECT_EQ(Stored("ToAddress"), "  boss@x.org ") << "kept untrimmed while disabled";

    RunModal(form, [&] {
        Choose(form.UseBCCOption);
        QTest::keyClicks(form.ToAddress, " ");
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(Stored("UseTO"), "False");
    EXPECT_EQ(Stored("ToAddress"), "  boss@x.org  ");
}

TEST_F(NagListTest, FailedSaveIsToldAndTheFormStaysOpenForAnotherTry) {
    store.fail_next_commit = "Pesterly could not write its settings file.";
    RunModal(form, [&] {
        QTest::keyClicks(form.NewEmail, "a@x.org");
        QTest::mouseClick(form.AddEmail, Qt::LeftButton);
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
        ASSERT_EQ(asker.messages.size(), 1u);
        EXPECT_NE(asker.messages[0].find("could not write its settings file"), std::string::npos);
        EXPECT_TRUE(form.isVisible());
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(store.commits, 1);
    EXPECT_EQ(asker.messages.size(), 1u);
    EXPECT_EQ(Stored("Email0"), "a@x.org");
}

TEST_F(NagListTest, EveryCaptionFitsAndNothingOverlaps) {
    StoreThree();
    Store("UseTO", "False");
    Store("ToAddress", "boss@x.org");
    RunModal(form, [&] {
        testing::ExpectTidyLayout(form);
        testing::ExpectNoDefaultButton(form);
        testing::SaveShot(form);
        form.close();
    });
}

}  // namespace
}  // namespace pesterly
