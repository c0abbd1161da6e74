#include "ui/help/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QTextBrowser>
#include <QToolBar>

#include "PesterlyConfig.h"
#include "ui/Resources.h"

namespace pesterly {
namespace {

const QString kContentsAnchor = QStringLiteral("contents");

QUrl AtContents(QUrl manual) {
    manual.setFragment(kContentsAnchor);
    return manual;
}

}  // namespace

QUrl ManualUrl(const QString& installed_dir) {
    if (!installed_dir.isEmpty()) {
        const QFileInfo installed(QDir(installed_dir).filePath(QStringLiteral("index.html")));
        if (installed.isFile() && installed.isReadable()) {
            return QUrl::fromLocalFile(installed.absoluteFilePath());
        }
    }
    // A build that was never installed, or an installation without its manual.
    return QUrl(QStringLiteral("qrc") + BuiltInManualPath());
}

QUrl ManualUrl() {
    return ManualUrl(QStringLiteral(PESTERLY_MANUAL_DIR));
}

HelpWindow::HelpWindow(QWidget* owner, const QUrl& manual)
    : QMainWindow(owner, Qt::Window), manual_(manual) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Pesterly Help"));
    setWindowIcon(ApplicationIcon());
    if (owner == nullptr) {
        setAttribute(Qt::WA_DeleteOnClose);
    }
    CreateControls();
}

void HelpWindow::CreateControls() {
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setAccessibleName(tr("Manual"));
    // Anything that leaves the manual belongs in the user's web browser.
    Browser->setOpenExternalLinks(true);
    setCentralWidget(Browser);

    auto* bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("NavigationBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ContentsAction = bar->addAction(tr("&Contents"));
    ContentsAction->setObjectName(QStringLiteral("ContentsAction"));
    ContentsAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    BackAction = bar->addAction(tr("&Back"));
    BackAction->setObjectName(QStringLiteral("BackAction"));
    BackAction->setShortcut(QKeySequence::Back);
    BackAction->setEnabled(false);
    ForwardAction = bar->addAction(tr("&Forward"));
    ForwardAction->setObjectName(QStringLiteral("ForwardAction"));
    ForwardAction->setShortcut(QKeySequence::Forward);
    ForwardAction->setEnabled(false);

    connect(ContentsAction, &QAction::triggered, this,
            &HelpWindow::HelpWindow_ContentsAction_Triggered);
    connect(BackAction, &QAction::triggered, Browser, &QTextBrowser::backward);
    connect(ForwardAction, &QAction::triggered, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, BackAction, &QAction::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardAction, &QAction::setEnabled);

    // About 100 characters by 36 lines: the manual's text column with room around it.
    const QFontMetrics metrics = Browser->fontMetrics();
    resize(100 * metrics.averageCharWidth(), 36 * metrics.lineSpacing());
}

void HelpWindow::HelpWindow_ContentsAction_Triggered() {
    const QUrl contents = AtContents(manual_);
    if (Browser->source() == contents) {
        // Already there in the history: only the reading position may have moved.
        Browser->scrollToAnchor(kContentsAnchor);
    } else {
        Browser->setSource(contents);
    }
}

void HelpWindow::ShowContents() {
    HelpWindow_ContentsAction_Triggered();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

HelpWindow* ShowHelpContents(QWidget* owner) {
    HelpWindow* help = nullptr;
    if (owner != nullptr) {
        help = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    } else {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* candidate = qobject_cast<HelpWindow*>(window);
            if (candidate != nullptr && candidate->parentWidget() == nullptr) {
                help = candidate;
                break;
            }
        }
    }
    if (help == nullptr) {
        help = new HelpWindow(owner);
    }
    help->ShowContents();
    return help;
}

}  // namespace pesterly
