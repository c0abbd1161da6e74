#include "ui/Resources.h"

#include <QIcon>
#include <QPixmap>

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
    // The 32 × 32 drawing only: asking Qt whether it could read the SVG would load every
    // image plugin at start. Desktops take the scalable icon from the installed theme.
    return QIcon(QStringLiteral(":/icons/pesterly-32.png"));
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
