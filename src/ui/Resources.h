#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace pesterly {

// The program's artwork and manual are built into it (resources/pesterly.qrc). They live in a
// static library, whose resources reach the program only when something asks for them: every
// function here does so first.
void LoadResources();

// The application icon: a bell over a calendar, 32 × 32.
QPixmap ApplicationPixmap();
QIcon ApplicationIcon();
// The second picture of the about box: a letter on its way, 32 × 32, 24-bit colour.
QPixmap AboutBitmap();
// The built-in copy of the manual.
QString BuiltInManualPath();

}  // namespace pesterly
