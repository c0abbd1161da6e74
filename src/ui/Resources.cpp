#include "ui/Resources.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>

// Q_INIT_RESOURCE declares the loader in the enclosing namespace, which must be the global one.
static void LoadPesterlyResources() {
    Q_INIT_RESOURCE(pesterly);
}

namespace pesterly {
namespace {

// Our pictures are PNG, and saying so keeps Qt from loading every image plugin to find out.
QPixmap Png(const QString& path) {
    LoadResources();
    QPixmap pixmap;
    pixmap.load(path, "PNG");
    return pixmap;
}

}  // namespace

void LoadResources() {
    static const bool loaded = [] {
        LoadPesterlyResources();
        return true;
    }();
    (void)loaded;
}

// The program's icon as plain pixels (resources/icons/pesterly-32.png, made with
// `convert pesterly-32.png -depth 8 rgba:pesterly-32.rgba`): it is shown at every start, and
// decoding a PNG would load every image plugin first.
QPixmap ApplicationPixmap() {
    LoadResources();
    constexpr int kSide = 32;
    QFile file(QStringLiteral(":/icons/pesterly-32.rgba"));
    const QByteArray pixels = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (pixels.size() != kSide * kSide * 4) {
        return Png(QStringLiteral(":/icons/pesterly-32.png"));
    }
    const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), kSide, kSide,
                       QImage::Format_RGBA8888);
    return QPixmap::fromImage(image);
}

QIcon ApplicationIcon() {
    // The 32 × 32 drawing only, made from the pixmap: a QIcon made from a file name, and
    // reading the SVG, would both ask every image plugin first. Desktops take the scalable
    // icon from the installed theme.
    return QIcon(ApplicationPixmap());
}

QPixmap AboutBitmap() {
    return Png(QStringLiteral(":/icons/about-bitmap.png"));
}

QString BuiltInManualPath() {
    LoadResources();
    return QStringLiteral(":/manual/index.html");
}

}  // namespace pesterly
