#pragma once

#include <QMainWindow>
#include <QUrl>

class QAction;
class QTextBrowser;

namespace pesterly {

// Where the manual is read from: the installed copy, index.html in installed_dir, when it can
// be read, else the copy built into the program.
QUrl ManualUrl(const QString& installed_dir);
// The same for the folder the manual is installed to (see src/CMakeLists.txt).
QUrl ManualUrl();

// The manual in a window of its own, beside the program's windows rather than in front of
// them: the user may read it and go on working.
class HelpWindow : public QMainWindow {
    Q_OBJECT

  public:
    // The owner keeps the window for its own life; without one, the window goes when closed.
    explicit HelpWindow(QWidget* owner, const QUrl& manual = ManualUrl());

    // Shows the window, in front, at the manual's contents.
    void ShowContents();

    QUrl Manual() const { return manual_; }

    QTextBrowser* Browser = nullptr;
    QAction* ContentsAction = nullptr;
    QAction* BackAction = nullptr;
    QAction* ForwardAction = nullptr;

  private:
    void CreateControls();
    void HelpWindow_ContentsAction_Triggered();

    QUrl manual_;
};

// Opens the help at its contents: owner's help window, shown and raised, when it has one,
// else a new one. Choosing help again never opens a second window.
HelpWindow* ShowHelpContents(QWidget* owner);

}  // namespace pesterly
