#pragma once

#include <QLocale>

class QCoreApplication;

namespace pesterly {

// Puts Pesterly's texts, and Qt's own (the buttons of a message box, the file dialogs), in the
// first of the user's languages that Pesterly speaks, in the order the desktop gives them
// (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG). English comes first in that order or is the
// fallback: the texts in the code are English, so then nothing is loaded at all. Returns
// whether a translation was installed.
bool UseUserLanguage(QCoreApplication& app, const QLocale& locale = QLocale::system());

}  // namespace pesterly
