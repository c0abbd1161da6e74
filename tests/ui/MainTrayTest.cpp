#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "MainWindowHarness.h"

namespace pesterly {
namespace {

class MainTrayTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    void SetUp() override {
        unloads = 0;
        window.reset();
        window = OpenWindow();
        QObject::connect(window.get(), &PesterlyMain::Unloaded, [this] { ++unloads; });
        window->show();
    }
    void StartupTick() { ASSERT_TRUE(QMetaObject::invokeMethod(window->StartupTimer, "timeout")); }
    // Something the user changed today, which every way of ending must save.
    void ChangeSomething() { db.CheckTime = DateValue::TimeOfDay(6, 45, 0); }
    bool Saved() { return store.GetSetting("Options", "CheckTime", "") == "6:45:00 AM"; }

    std::unique_ptr<PesterlyMain> window;
    int unloads = 0;
};

TEST_F(MainTrayTest, IconComesWithTheStartupTimerAndReactsOnlyWhileHidden) {
    EXPECT_EQ(tray.adds, 0);
    EXPECT_TRUE(window->StartupTimer->isActive());
    StartupTick();
    EXPECT_EQ(tray.adds, 1);
    EXPECT_FALSE(window->StartupTimer->isActive());

    tray.Click(TrayMouse::kRightDoubleClick);  // ignored while shown
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(window->isVisible());

    window->HideButton->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(tray.shown);
    EXPECT_TRUE(wakeup.deadline);
    tray.Click(TrayMouse::kLeftPress);
    EXPECT_TRUE(window->isVisible());

    window->HideButton->click();
    tray.Click(TrayMouse::kLeftDoubleClick);
    EXPECT_TRUE(window->isVisible());

    window->HideButton->click();
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->actions().first()->trigger();  // Show Pesterly
        menu->close();
    });
    tray.Click(TrayMouse::kRightPress);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainTrayTest, EveryCommandThatEndsSavesFirst) {
    for (QAction* PesterlyMain::*command : {&PesterlyMain::FileExit, &PesterlyMain::TrayExit}) {
        SetUp();
        StartupTick();
        ChangeSomething();
        ((*window).*command)->trigger();
        EXPECT_TRUE(Saved()) << ((*window).*command)->objectName().toStdString();
        EXPECT_EQ(unloads, 1);
        EXPECT_FALSE(tray.shown);
    }
}

// Nobody may be there to answer: a desktop's request to end ends even when the save fails,
// with the table in a rescue copy.
TEST_F(MainTrayTest, DesktopRequestToEndEndsWithoutAskingEvenWhenTheSaveFails) {
    StartupTick();
    store.fail_next_commit = "disk full";
    window->EndOnRequest();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(tray.shown);
    EXPECT_TRUE(asker.messages.empty());
    ASSERT_EQ(store.rescues.size(), 1u);
    EXPECT_EQ(store.rescues[0].count("events/eventcount"), 1u);
}

TEST_F(MainTrayTest, WithoutANotificationAreaHideIsOffAndSaysWhy) {
    tray.available = false;
    StartupTick();
    EXPECT_FALSE(window->HideButton->isEnabled());
    EXPECT_FALSE(window->HideButton->toolTip().isEmpty());
    // A panel that starts after Pesterly docks the icon: Hide comes on without a focus change,
    // and goes off again when the panel quits.
    tray.SetAvailable(true);
    EXPECT_TRUE(window->HideButton->isEnabled());
    tray.SetAvailable(false);
    EXPECT_FALSE(window->HideButton->isEnabled());
    tray.available = true;
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(window.get(), &activation);
    EXPECT_TRUE(window->HideButton->isEnabled());
}

}  // namespace
}  // namespace pesterly
