#pragma once

#include <QRect>
#include <vector>

class QWidget;

namespace pesterly {

// Places a form's controls at their design positions in twips (1440 to the inch), scaled by
// the screen's logical DPI. When the default font is larger than the one the form was drawn
// for, the whole form is scaled up evenly, so that no caption is clipped and no control comes
// to overlap another.
class TwipsLayout {
  public:
    // Controls placed inside a frame give their position relative to the frame.
    void Place(QWidget* widget, int left, int top, int width, int height);
    // Applies the positions and gives the form's client area its design size.
    void Finish(QWidget* client, int width, int height);

    double Scale() const { return scale_; }
    int ToPixels(int twips) const;

  private:
    struct Placement {
        QWidget* widget;
        QRect twips;
    };
    std::vector<Placement> placements_;
    double scale_ = 1.0;
};

}  // namespace pesterly
