#include "ui/Twips.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace pesterly {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kMostScale = 3.0;

// The room a control needs to show its caption whole; zero where there is no caption.
QSize CaptionRoom(const QWidget* widget) {
    if (qobject_cast<const QAbstractButton*>(widget) != nullptr ||
        qobject_cast<const QLabel*>(widget) != nullptr) {
        return widget->sizeHint();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        const QFontMetrics metrics(frame->font());
        return {metrics.horizontalAdvance(frame->title()) + 2 * metrics.height(), 0};
    }
    if (qobject_cast<const QComboBox*>(widget) != nullptr ||
        qobject_cast<const QLineEdit*>(widget) != nullptr) {
        return {0, widget->minimumSizeHint().height()};
    }
    return {0, 0};
}

}  // namespace

void TwipsLayout::Place(QWidget* widget, int left, int top, int width, int height) {
    placements_.push_back({widget, QRect(left, top, width, height)});
}

int TwipsLayout::ToPixels(int twips) const {
    return static_cast<int>(std::lround(twips * scale_));
}

void TwipsLayout::Finish(QWidget* client, int width, int height) {
    const double base = client->logicalDpiX() / kTwipsPerInch;
    double grow = 1.0;
    for (const Placement& p : placements_) {
        const QSize room = CaptionRoom(p.widget);
        if (p.twips.width() > 0) {
            grow = std::max(grow, room.width() / (p.twips.width() * base));
        }
        if (p.twips.height() > 0) {
            grow = std::max(grow, room.height() / (p.twips.height() * base));
        }
    }
    scale_ = base * std::min(grow, kMostScale);
    for (const Placement& p : placements_) {
        p.widget->setGeometry(ToPixels(p.twips.left()), ToPixels(p.twips.top()),
                              ToPixels(p.twips.width()), ToPixels(p.twips.height()));
    }
    client->setFixedSize(ToPixels(width), ToPixels(height));
}

}  // namespace pesterly
