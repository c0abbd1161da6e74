// Writes the settings file of the full sample table, for starting the real program on it:
//
//   sample_settings PATH
//
// The last review is dated far in the future, so that the program asks nothing and only
// idles.
#include <QCoreApplication>
#include <cstdio>

#include "SampleTable.h"
#include "platform/IniSettingsStore.h"
#include "store/SettingsLayout.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: sample_settings PATH\n", stderr);
        return 2;
    }
    pesterly::Database db = pesterly::bench::SampleTable();
    db.options.CheckDate = pesterly::DateValue::Compose(2099, 12, 31);
    pesterly::IniSettingsStore store(QString::fromLocal8Bit(argv[1]));
    if (const pesterly::Result<void> saved = pesterly::SaveSettings(db, store); !saved) {
        std::fprintf(stderr, "%s\n", saved.error().message.c_str());
        return 1;
    }
    return 0;
}
