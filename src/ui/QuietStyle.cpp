#include "ui/QuietStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>
#include <optional>

namespace pesterly {
namespace {

// A standard icon of a style, asked of the style the first time it is drawn.
class LateIconEngine : public QIconEngine {
  public:
    LateIconEngine(QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
        : style_(style), which_(which), widget_(const_cast<QWidget*>(widget)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    // Laying the button out needs no picture: it takes the size it is offered.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new LateIconEngine(*this); }

  private:
    QIcon Icon() {
        if (!icon_) {
            icon_ = style_ != nullptr ? style_->standardIcon(which_, nullptr, widget_) : QIcon();
        }
        return *icon_;
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    QPointer<QWidget> widget_;
    std::optional<QIcon> icon_;
};

class QuietStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton && option == nullptr) {
            return QIcon(new LateIconEngine(baseStyle(), which, widget));
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

}  // namespace

void UseQuietStyle(QApplication& app) {
    // The style the user chose (-style, QT_STYLE_OVERRIDE, the desktop's), made afresh for the
    // wrapper to own.
    QStyle* chosen = QStyleFactory::create(QApplication::style()->name());
    if (chosen == nullptr) {
        return;
    }
    app.setStyle(new QuietStyle(chosen));
}

}  // namespace pesterly
