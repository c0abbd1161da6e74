#pragma once

#include "ui/dialogs/ModalForm.h"

class QLabel;

namespace pesterly {

// The about box: the product line, where to send comments, the web site, and a column of
// pictures. It has no buttons and changes nothing: the caller opens it with exec(), the user
// closes it with the window's close box or Esc.
class AboutPesterlyForm : public ModalForm {
    Q_OBJECT

  public:
    explicit AboutPesterlyForm(QWidget* parent);

    // The texts as the box shows them; the addresses come from the build (see src/CMakeLists).
    static QString ProductLine();
    static QString CommentsLine();
    static QString WebSiteLine();

    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Image4 = nullptr;

  protected:
    void Opening() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateControls();
};

}  // namespace pesterly
