#include "ui/Resources.h"

#include <QImageReader>

// Q_INIT_RESOURCE declares the loader in the enclosing namespace, which must be the global one.
static void LoadPesterlyResources() {
    Q_INIT_RESOURCE(pesterly);
}

namespace pesterly {

void LoadResources() {
    static const bool loaded = [] {
        LoadPesterlyResources();
        return true;
    }();
    (void)loaded;
}

QPixmap ApplicationPixmap() {
    LoadResources();
    return QPixmap(QStringLiteral(":/icons/pesterly-32.png"));
}

QIcon ApplicationIcon() {
    LoadResources();
    QIcon icon(QStringLiteral(":/icons/pesterly-32.png"));
    // The drawing scales cleanly to any size where Qt has an SVG reader installed.
    if (QImageReader::supportedImageFormats().contains("svg")) {
        icon.addFile(QStringLiteral(":/icons/pesterly.svg"));
    }
    return icon;
}

QPixmap AboutBitmap() {
    LoadResources();
    return QPixmap(QStringLiteral(":/icons/about-bitmap.png"));
}

QString BuiltInManualPath() {
    LoadResources();
    return QStringLiteral(":/manual/index.html");
}

}  // namespace pesterly
