#include "ui/help/HelpWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "support/QtPrinters.h"

namespace pesterly {
namespace {

// Lets the window lay out its page, as it would before the user sees it.
void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int ScrollPosition(const HelpWindow& help) {
    return help.Browser->verticalScrollBar()->value();
}

// The manual's contents begin the page: shown at the contents, the page stands at its top.
void ExpectAtTheContents(const HelpWindow& help) {
    EXPECT_EQ(help.Browser->source().fragment(), "contents");
    EXPECT_LT(ScrollPosition(help), help.Browser->fontMetrics().lineSpacing());
}

QUrl At(const HelpWindow& help, const QString& anchor) {
    QUrl url = help.Manual();
    url.setFragment(anchor);
    return url;
}

TEST(HelpWindow, OpensNonModalAtTheContentsIsReusedAndMovesBackAndForth) {
    QWidget owner;
    HelpWindow* help = ShowHelpContents(&owner);
    Settle();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible() && help->isWindow()) << "a window of its own";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the program stays usable";
    ExpectAtTheContents(*help);
    EXPECT_EQ(help->Browser->source().adjusted(QUrl::RemoveFragment), help->Manual());
    EXPECT_EQ(help->Browser->horizontalScrollBar()->maximum(), 0) << "no sideways scrolling";
    EXPECT_FALSE(help->BackAction->isEnabled() || help->ForwardAction->isEnabled());

    help->Browser->setSource(At(*help, "tray"));
    Settle();
    const int tray_position = ScrollPosition(*help);
    EXPECT_GT(tray_position, 100) << "the tray section lies further down the page";
    help->ContentsAction->trigger();
    Settle();
    ExpectAtTheContents(*help);
    help->BackAction->trigger();
    Settle();
    EXPECT_EQ(help->Browser->source(), At(*help, "tray"));
    EXPECT_EQ(ScrollPosition(*help), tray_position);
    help->ForwardAction->trigger();
    Settle();
    ExpectAtTheContents(*help);

    // Asked again, closed or scrolled away, the one window goes back to the contents.
    for (const bool close : {true, false}) {
        QScrollBar* scroll = help->Browser->verticalScrollBar();
        close ? help->Browser->setSource(At(*help, "exchange"))
              : scroll->setValue(scroll->maximum());
        close ? void(help->close()) : void();
        EXPECT_EQ(ShowHelpContents(&owner), help);
        Settle();
        EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 1);
        EXPECT_TRUE(help->isVisible());
        ExpectAtTheContents(*help);
    }
}

TEST(HelpWindow, ReadsTheInstalledManualWhenThereIsOne) {
    const QUrl built_in = ManualUrl(QString());
    EXPECT_EQ(built_in.scheme(), "qrc");
    EXPECT_TRUE(QFile::exists(":" + built_in.path())) << "the manual is built in";

    QTemporaryDir installed;
    EXPECT_EQ(ManualUrl(installed.path()), built_in) << "an empty folder has no manual";
    QFile page(QDir(installed.path()).filePath("index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>Installed</title></head><body id=\"contents\"></body></html>");
    page.close();
    const QUrl url = ManualUrl(installed.path());
    EXPECT_EQ(url.toLocalFile(), QFileInfo(page).absoluteFilePath());

    QWidget owner;
    HelpWindow help(&owner, url);
    help.ShowContents();
    Settle();
    EXPECT_EQ(help.Browser->documentTitle(), "Installed");
}

}  // namespace
}  // namespace pesterly
