#include "platform/IniSettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "store/SettingsLayout.h"

namespace pesterly {
namespace {

void WriteFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(IniSettingsStore, DefaultPathFollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/somewhere");
    EXPECT_EQ(IniSettingsStore::DefaultPath(),
              QStringLiteral("/tmp/somewhere/Pesterly/Pesterly.ini"));
    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(IniSettingsStore::DefaultPath(), QDir::homePath() + "/.config/Pesterly/Pesterly.ini");
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST(IniSettingsStore, ReadsHandWrittenFileWithMixedCase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Pesterly.ini");
    WriteFile(path,
              "[events]\n"
              "eventcount=\" 1\"\n"
              "EDESC0=\"  Call mum, then dad  \"\n"
              "ESEmail0=mum@example.org\n"
              "EEmailBody0=\"Dear me,\\nremember.\"\n"
              "[CATEGORIES]\n"
              "count=1\n"
              "category0=Family\n");
    IniSettingsStore store(path);
    Database db;
    LoadSettings(db, store);
    ASSERT_EQ(db.HappeningCount, 1);
    EXPECT_EQ(db.Happenings[0].Desc, "  Call mum, then dad  ");
    EXPECT_EQ(db.Happenings[0].SpecialEmail, "mum@example.org");
    EXPECT_EQ(db.Happenings[0].EmailBody, "Dear me,\nremember.");
    EXPECT_EQ(db.Categories[0], "Family");

    // Saving keeps the file's own spelling of sections and keys: no twins appear.
    ASSERT_FALSE(SaveSettings(db, store));
    const QByteArray text = ReadAll(path);
    EXPECT_EQ(text.count("[events]"), 1) << text.constData();
    EXPECT_EQ(text.count("[Events]"), 0) << text.constData();
    EXPECT_EQ(text.toLower().count("esemail0="), 1) << text.constData();
    EXPECT_EQ(text.toLower().count("edesc0="), 1) << text.constData();
}

TEST(IniSettingsStore, UnquotedCommasInAHandEditedValueStayOneText) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Pesterly.ini");
    WriteFile(path, "[Events]\nEDesc0=Buy milk, eggs\n");
    IniSettingsStore store(path);
    EXPECT_EQ(store.GetSetting("Events", "EDesc0", ""), "Buy milk, eggs");
}

TEST(IniSettingsStore, FileIsPrivateAndCreatedWithItsFolder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config/Pesterly/Pesterly.ini");
    IniSettingsStore store(path);
    store.SaveSetting("NagList", "Email0", "secret@example.org");
    ASSERT_FALSE(store.Commit());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A file someone made readable to all is made private again at the next save.
    ASSERT_TRUE(QFile::setPermissions(
        path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup));
    store.SaveSetting("NagList", "Email0", "other@example.org");
    ASSERT_FALSE(store.Commit());
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(IniSettingsStore, SaveIsAllOrNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Pesterly.ini");
    IniSettingsStore store(path);
    store.SaveSetting("Events", "EventCount", " 1");
    ASSERT_FALSE(store.Commit());
    const QByteArray before = ReadAll(path);
    // The commit writes a new file beside the old one and renames it over: the old file's
    // inode is never written in place.
    struct stat old_info {};
    ::stat(QFile::encodeName(path).constData(), &old_info);
    store.SaveSetting("Events", "EventCount", " 2");
    ASSERT_FALSE(store.Commit());
    struct stat new_info {};
    ::stat(QFile::encodeName(path).constData(), &new_info);
    EXPECT_NE(old_info.st_ino, new_info.st_ino);
    EXPECT_NE(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(IniSettingsStore, UnwritableFolderIsReportedNotHidden) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write anywhere";
    }
    QTemporaryDir dir;
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    IniSettingsStore store(folder + "/Pesterly.ini");
    store.SaveSetting("Events", "EventCount", " 0");
    const MaybeError error = store.Commit();
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find("Pesterly.ini"), std::string::npos);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(IniSettingsStore, FailedSaveIsReportedAndALaterOneSucceeds) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("blocker"), "not a folder");
    IniSettingsStore blocked(dir.filePath("blocker/Pesterly.ini"));
    blocked.SaveSetting("Events", "EventCount", " 0");
    EXPECT_TRUE(blocked.Commit());

    // A folder where the file should be: the replace fails until it is gone.
    const QString path = dir.filePath("Pesterly.ini");
    ASSERT_TRUE(QDir().mkpath(path));
    IniSettingsStore store(path);
    store.SaveSetting("Events", "EDesc0", "kept in memory");
    EXPECT_TRUE(store.Commit());
    EXPECT_EQ(store.GetSetting("Events", "EDesc0", ""), "kept in memory");
    ASSERT_TRUE(QDir().rmdir(path));
    store.SaveSetting("Events", "EDesc1", "after the failure");
    ASSERT_FALSE(store.Commit());
    IniSettingsStore reopened(path);
    EXPECT_EQ(reopened.GetSetting("Events", "EDesc0", ""), "kept in memory");
    EXPECT_EQ(reopened.GetSetting("Events", "EDesc1", ""), "after the failure");
}

TEST(IniSettingsStore, UnreadableLinesAreReportedKeptAsideAndDoNotBlockSaving) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Pesterly.ini");
    const QByteArray damaged =
        "[Events]\nEventCount=\" 1\"\nthis line has no equals sign\n"
        "EDesc0=Still read\n";
    WriteFile(path, damaged);
    IniSettingsStore store(path);
    ASSERT_TRUE(store.ReadProblem().has_value());
    EXPECT_NE(store.ReadProblem()->find(".damaged"), std::string::npos);
    EXPECT_EQ(ReadAll(path + ".damaged"), damaged);
    EXPECT_EQ(store.GetSetting("Events", "EDesc0", ""), "Still read");
    store.SaveSetting("Events", "EDesc0", "saved");
    EXPECT_FALSE(store.Commit());
    EXPECT_FALSE(IniSettingsStore(path).ReadProblem().has_value());

    IniSettingsStore clean(dir.filePath("clean.ini"));
    EXPECT_FALSE(clean.ReadProblem().has_value());
}

}  // namespace
}  // namespace pesterly
