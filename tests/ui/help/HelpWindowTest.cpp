#include "ui/help/HelpWindow.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <algorithm>

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

// Where the page would stand with the named place at the top of the window (or as near as the
// page's length allows).
int PositionOf(const HelpWindow& help, const QString& anchor) {
    const QTextDocument* page = help.Browser->document();
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            if (piece.fragment().charFormat().anchorNames().contains(anchor)) {
                const double top = page->documentLayout()->blockBoundingRect(block).top();
                return std::min(static_cast<int>(top),
                                help.Browser->verticalScrollBar()->maximum());
            }
        }
    }
    ADD_FAILURE() << "no place named " << anchor.toStdString();
    return -1;
}

void ExpectAt(const HelpWindow& help, const QString& anchor) {
    EXPECT_EQ(help.Browser->source().fragment(), anchor);
    EXPECT_NEAR(ScrollPosition(help), PositionOf(help, anchor), 1) << anchor.toStdString();
}

QUrl At(const HelpWindow& help, const QString& anchor) {
    QUrl url = help.Manual();
    url.setFragment(anchor);
    return url;
}

TEST(HelpWindow, OpensNonModalAtTheContentsAndIsReusedEachTime) {
    QWidget owner;
    HelpWindow* help = ShowHelpContents(&owner);
    Settle();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible() && help->isWindow()) << "a window of its own";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the program stays usable";
    ExpectAt(*help, "contents");
    EXPECT_EQ(help->Browser->source().adjusted(QUrl::RemoveFragment), help->Manual());
    EXPECT_EQ(help->Browser->horizontalScrollBar()->maximum(), 0) << "no sideways scrolling";
    EXPECT_LT(PositionOf(*help, "contents"), help->Browser->fontMetrics().lineSpacing())
        << "the contents begin the page";

    help->Browser->setSource(At(*help, "exchange"));
    help->close();
    Settle();
    EXPECT_EQ(ShowHelpContents(&owner), help);
    Settle();
    EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 1);
    EXPECT_TRUE(help->isVisible());
    ExpectAt(*help, "contents");

    // Asked again while it is open and scrolled away, it goes back to the contents.
    help->Browser->verticalScrollBar()->setValue(help->Browser->verticalScrollBar()->maximum());
    EXPECT_GT(ScrollPosition(*help), PositionOf(*help, "contents") + 100);
    EXPECT_EQ(ShowHelpContents(&owner), help);
    Settle();
    ExpectAt(*help, "contents");
}

TEST(HelpWindow, ContentsBackAndForwardMoveThroughTheManual) {
    QWidget owner;
    HelpWindow* help = ShowHelpContents(&owner);
    Settle();
    EXPECT_FALSE(help->BackAction->isEnabled() || help->ForwardAction->isEnabled());

    help->Browser->setSource(At(*help, "tray"));
    Settle();
    const int tray_position = ScrollPosition(*help);
    ExpectAt(*help, "tray");
    EXPECT_GT(tray_position, 0) << "the tray section lies further down the page";
    EXPECT_TRUE(help->BackAction->isEnabled());

    help->ContentsAction->trigger();
    Settle();
    ExpectAt(*help, "contents");

    help->BackAction->trigger();
    Settle();
    EXPECT_EQ(help->Browser->source(), At(*help, "tray"));
    EXPECT_EQ(ScrollPosition(*help), tray_position);
    EXPECT_TRUE(help->ForwardAction->isEnabled());

    help->ForwardAction->trigger();
    Settle();
    ExpectAt(*help, "contents");
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
