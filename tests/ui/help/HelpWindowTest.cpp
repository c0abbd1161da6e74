#include "ui/help/HelpWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QScrollBar>
#include <QTextBrowser>

#include "support/QtPrinters.h"

namespace pesterly {
namespace {

// Lets the window lay out its page, as it would before the user sees it.
void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The manual's contents begin the page: shown at the contents, the page stands at its top.
void ExpectAtTheContents(const HelpWindow& help) {
    EXPECT_EQ(help.Browser->source().fragment(), "contents");
    EXPECT_LT(help.Browser->verticalScrollBar()->value(),
              help.Browser->fontMetrics().lineSpacing());
}

QUrl At(const HelpWindow& help, const QString& anchor) {
    QUrl url = help.Manual();
    url.setFragment(anchor);
    return url;
}

TEST(HelpWindow, OpensNonModalAtTheContentsAndIsReused) {
    QWidget owner;
    HelpWindow* help = ShowHelpContents(&owner);
    Settle();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible() && help->isWindow()) << "a window of its own";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the program stays usable";
    ExpectAtTheContents(*help);
    EXPECT_EQ(help->Browser->source().adjusted(QUrl::RemoveFragment), help->Manual());
    EXPECT_EQ(help->Browser->horizontalScrollBar()->maximum(), 0) << "no sideways scrolling";
    // In a dark theme the text turns light: the page takes its colours from the palette.
    QPalette dark = help->Browser->palette();
    dark.setColor(QPalette::Base, Qt::black);
    dark.setColor(QPalette::Text, Qt::white);
    help->Browser->setPalette(dark);
    const QImage page = help->Browser->viewport()->grab().toImage();
    qsizetype light = 0;
    for (qsizetype i = 0; i < qsizetype(page.width()) * page.height(); ++i) {
        light += qGray(page.pixel(int(i % page.width()), int(i / page.width()))) > 160;
    }
    EXPECT_GT(light, page.width() * page.height() / 100) << "readable on the dark page";

    help->Browser->setSource(At(*help, "tray"));
    Settle();
    EXPECT_GT(help->Browser->verticalScrollBar()->value(), 100) << "the tray section lies lower";
    help->ContentsAction->trigger();
    Settle();
    ExpectAtTheContents(*help);

    // Asked again after closing, the one window opens again at the contents.
    help->Browser->setSource(At(*help, "exchange"));
    help->close();
    EXPECT_EQ(ShowHelpContents(&owner), help);
    Settle();
    EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 1);
    EXPECT_TRUE(help->isVisible());
    ExpectAtTheContents(*help);
}

}  // namespace
}  // namespace pesterly
