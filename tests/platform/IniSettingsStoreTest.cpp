#include "platform/IniSettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "exchange/ImportHappenings.h"
#include "platform/WholeFile.h"
#include "store/SettingsLayout.h"

namespace pesterly {
namespace {

using namespace Qt::StringLiterals;

void WriteFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string Descriptions(const Database& db) {
    std::string joined;
    for (int n = 0; n < db.HappeningCount; ++n) {
        joined += (n == 0 ? "" : "|") + db.Happenings[n].Desc;
    }
    return joined;
}

struct stat Stat(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

// The end-to-end tests find the file under the XDG_CONFIG_HOME they set.
TEST(IniSettingsStore, DefaultPathWithAnEmptyXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(IniSettingsStore::DefaultPath(),
              QDir::homePath() + u"/.config/Pesterly/Pesterly.ini"_s);
    qputenv("XDG_CONFIG_HOME", saved);
}

// A save that fails is reported and loses nothing; a later one makes the folders, and the file
// is private, also after someone made it readable to all.
TEST(IniSettingsStore, FailedSaveIsReportedAndALaterOneSucceedsPrivately) {
    QTemporaryDir dir;
    const QString blocker = dir.filePath(u"blocker"_s);
    WriteFile(blocker, "not a folder");
    const QString path = blocker + u"/Pesterly/Pesterly.ini"_s;
    IniSettingsStore store(path);
    EXPECT_FALSE(store.ReadProblem());  // no file yet is no problem
    store.SaveSetting("Events", "EDesc0", "kept in memory");
    const Result<void> saved = store.Commit();
    ASSERT_FALSE(saved);
    EXPECT_NE(saved.error().message.find("Pesterly.ini"), std::string::npos)
        << saved.error().message;
    EXPECT_EQ(store.GetSetting("Events", "EDesc0", ""), "kept in memory");
    ASSERT_TRUE(QFile::remove(blocker));
    store.SaveSetting("Events", "EDesc1", "after the failure");
    ASSERT_TRUE(store.Commit());
    EXPECT_EQ(Stat(path).st_mode & 0777, 0600u);
    ASSERT_TRUE(QFile::setPermissions(
        path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup));
    store.SaveSetting("Events", "EDesc1", "made private again");
    ASSERT_TRUE(store.Commit());
    EXPECT_EQ(Stat(path).st_mode & 0777, 0600u);
    IniSettingsStore reopened(path);
    EXPECT_EQ(reopened.GetSetting("Events", "EDesc0", ""), "kept in memory");
    EXPECT_EQ(reopened.GetSetting("Events", "EDesc1", ""), "made private again");
}

// Earlier versions wrote the file through QSettings: every value it wrote reads back the same,
// and every value written now reads back the same, here and through QSettings.
TEST(IniSettingsStore, ValuesInQtsWrittenFormReadBackUnchangedBothWays) {
    // clang-format off
    const std::vector<std::string> values = {"plain", " 1", "  Call mum, then dad  ", "a;b",
        "x=y", "Say \"hi\"", "C:\\temp\\new", "one\ntwo\tthree\r\n",
        std::string("\x01" "1abc") + '\0' + "7f", "@home", "@@x", "@Variant(x)",
        "Gr\u00fc\u00dfe \u20ac \U0001F600", "", "trailing\\", "\x7f del", "\"quoted\"", "a,b,c",
        " ", "trailing blank ", "semi;colon # hash = equals", "@ByteArray(not really)", "[NotASection]"};
    // clang-format on
    QTemporaryDir dir;
    const QString by_qt = dir.filePath(u"qt.ini"_s);
    {
        QSettings settings(by_qt, QSettings::IniFormat);
        for (size_t i = 0; i < values.size(); ++i) {
            settings.setValue(u"Events/EDesc"_s + QString::number(i),
                              QString::fromUtf8(values[i].data(), qsizetype(values[i].size())));
        }
        settings.setValue("NagList/Gr\u00fc\u00dfe Key", u"odd name"_s);
    }
    IniSettingsStore store(by_qt);
    EXPECT_FALSE(store.ReadProblem()) << ReadAll(by_qt).constData();
    const QString by_us = dir.filePath(u"ours.ini"_s);
    IniSettingsStore ours(by_us);
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string key = "EDesc" + std::to_string(i);
        EXPECT_EQ(store.GetSetting("Events", key, "missing"), values[i]) << key;
        ours.SaveSetting("Events", key, values[i]);
    }
    EXPECT_EQ(store.GetSetting("naglist", "gr\u00fc\u00dfe key", ""), "odd name");
    ASSERT_TRUE(ours.Commit());
    QSettings settings(by_us, QSettings::IniFormat);
    IniSettingsStore reopened(by_us);
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string key = "EDesc" + std::to_string(i);
        EXPECT_EQ(settings.value(QString::fromStdString("Events/" + key)).toString().toStdString(),
                  values[i]);
        EXPECT_EQ(reopened.GetSetting("Events", key, ""), values[i]) << key;
    }
}

// What a person types into the file means what it says: each settings file in the folder (also
// the settings fuzzer's seeds) with a .expected file beside it reads without a problem, and each
// Section/Key=value line of that file reads as written there. Its Loaded= line gives the
// descriptions of the events loaded at start, its Notice= line what the start-up notice says;
// without one, there is none. An import then adds to the table and overwrites no event.
TEST(IniSettingsStore, HandEditedValuesReadAsTyped) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PESTERLY_TEST_DATA "/settings")) {
        std::ifstream expected(std::filesystem::path(entry.path()).replace_extension(".expected"));
        if (entry.path().extension() != ".ini" || !expected) {
            continue;
        }
        ++files;
        SCOPED_TRACE(entry.path());
        QTemporaryDir dir;  // a copy, so that nothing lands beside the source
        const QString path = dir.filePath(u"Pesterly.ini"_s);
        ASSERT_TRUE(QFile::copy(QString::fromStdString(entry.path().string()), path));
        IniSettingsStore store(path);
        EXPECT_FALSE(store.ReadProblem());
        std::map<std::string, std::string> start;
        for (std::string line; std::getline(expected, line);) {
            const size_t slash = line.find('/');
            const size_t equals = line.find('=');
            if (slash > equals) {
                start[line.substr(0, equals)] = line.substr(equals + 1);
                continue;
            }
            EXPECT_EQ(store.GetSetting(line.substr(0, slash),
                                       line.substr(slash + 1, equals - slash - 1), "<missing>"),
                      line.substr(equals + 1))
                << line;
        }
        Database db;
        const std::string notice = LoadSettings(db, store).value_or(Text()).English();
        EXPECT_EQ(notice.empty(), start["Notice"].empty()) << notice;
        EXPECT_NE(notice.find(start["Notice"]), std::string::npos) << notice;
        // The file as it was stays beside it whenever the notice tells of what was not loaded.
        EXPECT_EQ(
            ReadAll(path + u".damaged"_s),
            notice.empty() ? QByteArray() : ReadAll(QString::fromStdString(entry.path().string())));
        const std::string loaded = Descriptions(db);
        EXPECT_EQ(loaded, start.count("Loaded") != 0 ? start["Loaded"] : loaded);
        const bool full = db.IsFull();
        Happening imported;
        imported.Desc = "Imported";
        ImportHappenings(db, {imported});
        ASSERT_TRUE(SaveSettings(db, store));
        Database next;
        IniSettingsStore reopened(path);
        LoadSettings(next, reopened);
        EXPECT_EQ(Descriptions(next),
                  full ? loaded : loaded + (loaded.empty() ? "" : "|") + "Imported");
    }
    EXPECT_GT(files, 0);
}

// Also a value nested as deep as a list in a list in ..., which is read as typed.
TEST(IniSettingsStore, LinesItDoesNotUseAreWrittenBackUntouched) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Pesterly.ini"_s);
    QByteArray nested = "@Variant(";
    for (int level = 0; level < 40000; ++level) {
        nested += "\\0\\0\\0\\t\\0\\0\\0\\x1";  // a list holding a list holding ...
    }
    const QByteArray other = "; my notes: Caf\xe9\n[Other]\nx=" + nested + ")\ny = \"odd\n\n";
    WriteFile(path,
              other + "[Events]\nEDesc0=Order 12\" pizza\nEventCount=\" 1\"\n\n[Tail]\nz=1\n");
    const ino_t before = Stat(path).st_ino;
    {
        IniSettingsStore store(path);
        store.SaveSetting("Events", "EDesc0", "Order 12\" pizza");  // as read: no rewrite
        ASSERT_TRUE(store.Commit());
        EXPECT_EQ(store.GetSetting("Other", "x", ""), (nested + ")").toStdString());
    }
    EXPECT_EQ(Stat(path).st_ino, before);

    IniSettingsStore store(path);
    store.SaveSetting("Events", "EDesc0", "Call Bob; bring the contract");
    store.SaveSetting("events", "EDesc1", "new");
    store.SaveSetting("Categories", "Count", " 0");
    ASSERT_TRUE(store.Commit());
    EXPECT_EQ(ReadAll(path),
              other +
                  "[Events]\nEDesc0=\"Call Bob; bring the contract\"\nEventCount=\" 1\"\n"
                  "EDesc1=new\n\n[Tail]\nz=1\n\n[Categories]\nCount=\" 0\"\n");
    // A save that changes the file writes a new one beside it and renames it over the old:
    // the old file is never written in place, and nothing is left beside it.
    EXPECT_NE(Stat(path).st_ino, before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

// A save killed before its rename leaves its new file beside the settings file: the next start
// removes such leftovers, but not a copy a person named, nor one that a save under way holds.
TEST(IniSettingsStore, LeftoversOfSavesCutShortAreRemovedAtStart) {
    using namespace Qt::Literals::StringLiterals;
    QTemporaryDir dir;
    const QStringList kept =
        u"Pesterly.ini Pesterly.ini.BACKUP Pesterly.ini.Backup "
        u"Pesterly.ini.backup Pesterly.ini.open12 Pesterly.ini.unsaved.Ab1"_s.split(u' ');
    for (const QString& name : kept +
                                   u"Pesterly.ini.a8Kq2Z Pesterly.ini.unsaved.QW3erT "
                                   u"Pesterly.ini.damaged.x1y2z3"_s.split(u' ')) {
        WriteFile(dir.filePath(name), "[Events]\n");
    }
    QFile being_written(dir.filePath(u"Pesterly.ini.open12"_s));
    ASSERT_TRUE(being_written.open(QIODevice::Append));
    IniSettingsStore store(dir.filePath(u"Pesterly.ini"_s));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), kept);
}

// A settings file that is there but cannot be read is never written over.
TEST(IniSettingsStore, FileThatCannotBeReadIsLeftAloneAndTheSessionSavedBeside) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"fifo.ini"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath(u"folder.ini"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& path : {fifo, folder}) {
        {
            IniSettingsStore store(path);  // a pipe must not block the start
            ASSERT_TRUE(store.ReadProblem());
            EXPECT_NE(store.ReadProblem()->find((path + u".unsaved"_s).toStdString()),
                      std::string::npos);
            store.SaveSetting("Events", "EDesc0", "this session");
            ASSERT_TRUE(store.Commit());
        }
        // The next start carries on with the session's file.
        IniSettingsStore next(path);
        EXPECT_EQ(next.GetSetting("Events", "EDesc0", ""), "this session");
        EXPECT_FALSE(ReadWholeFile(path));
    }
}

TEST(IniSettingsStore, RescueCopyIsKeptInTheStateFolderAndToldAboutOnce) {
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(u"state"_s)));
    IniSettingsStore store(dir.filePath(u"Pesterly.ini"_s));
    store.SaveSetting("Events", "EDesc0", "rescued");
    ASSERT_TRUE(store.KeepRescueCopy());
    const QString state = IniSettingsStore::StateFolder();
    EXPECT_EQ(state, dir.filePath(u"state/Pesterly"_s));
    const auto notice = IniSettingsStore::TakeRescueNotice(state, u"the settings"_s);
    ASSERT_TRUE(notice);
    const QStringList kept = QDir(state).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    const QString copy = QDir(state).filePath(kept[0]);
    EXPECT_NE(notice->find(copy.toStdString()), std::string::npos) << *notice;
    EXPECT_EQ(IniSettingsStore(copy).GetSetting("Events", "EDesc0", ""), "rescued");
    EXPECT_EQ(Stat(copy).st_mode & 0777, 0600u);
    EXPECT_FALSE(IniSettingsStore::TakeRescueNotice(state, u"the settings"_s));
    qputenv("XDG_STATE_HOME", saved);
}

// Qt sets the C library's locale from the desktop's when the application object is made, as
// here under a German desktop; the numbers in the file must read the same as under any other.
TEST(IniSettingsStore, NumbersReadTheSameUnderAGermanDesktop) {
    for (const char* german : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_AT.UTF-8"}) {
        if (std::setlocale(LC_ALL, german) != nullptr) {
            break;
        }
    }
    if (std::string(std::localeconv()->decimal_point) != ",") {
        GTEST_SKIP() << "no German locale is installed (tools/deps.sh test generates one)";
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Pesterly.ini"_s);
    WriteFile(path,
              "[Events]\nEventCount=\" 2.7\"\nERepeat0=2.7\nECategory0=\"1,5\"\n"
              "ERepeat1=3.5e0\nECategory1=2.5\n");
    Database db;
    IniSettingsStore store(path);
    LoadSettings(db, store);
    EXPECT_EQ(db.HappeningCount, 3);
    EXPECT_EQ(db.Happenings[0].Repeat, 3);
    EXPECT_EQ(db.Happenings[0].Category, 1);
    EXPECT_EQ(db.Happenings[1].Repeat, 4);
    EXPECT_EQ(db.Happenings[1].Category, 2);
    std::setlocale(LC_ALL, "C");
}

TEST(IniSettingsStore, UnreadableLinesAreReportedKeptAsideAndDoNotBlockSaving) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Pesterly.ini"_s);
    const QByteArray damaged =
        "[Events]\nEventCount=\" 1\"\nthis line has no equals sign\n"
        "EDesc0=Still read\n";
    WriteFile(path, damaged);
    IniSettingsStore store(path);
    ASSERT_TRUE(store.ReadProblem().has_value());
    EXPECT_NE(store.ReadProblem()->find(".damaged"), std::string::npos);
    EXPECT_EQ(ReadAll(path + u".damaged"_s), damaged);
    EXPECT_EQ(store.GetSetting("Events", "EDesc0", ""), "Still read");
    store.SaveSetting("Events", "EDesc0", "saved");
    EXPECT_TRUE(store.Commit());
    EXPECT_FALSE(IniSettingsStore(path).ReadProblem().has_value());
}

}  // namespace
}  // namespace pesterly
