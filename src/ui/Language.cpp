#include "ui/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pesterly {
namespace {

// The translations are built into the program, so looking for one reads no file.
const QString kOurFolder = QStringLiteral(":/i18n");

// A translator owned by the application, or none when the file is missing.
bool Install(QCoreApplication& app, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(name, folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace

bool UseUserLanguage(QCoreApplication& app, const QLocale& locale) {
    for (const QString& wanted : locale.uiLanguages()) {
        const QLocale language(wanted);
        // "C" and English both mean the texts as written.
        if (language.language() == QLocale::English || language.language() == QLocale::C) {
            return false;
        }
        const QString code = language.name().section(u'_', 0, 0);
        if (Install(app, QStringLiteral("pesterly_") + code, kOurFolder)) {
            Install(app, QStringLiteral("qtbase_") + code,
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath));
            return true;
        }
    }
    return false;
}

}  // namespace pesterly
