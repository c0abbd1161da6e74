// The settings file at start, after a change and at exit: a full table read from and written to a
// real INI file in a private folder, as IniSettingsStore does it for the program.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "SampleTable.h"
#include "platform/IniSettingsStore.h"
#include "store/SettingsLayout.h"

namespace pesterly::bench {
namespace {

// A folder holding the settings file of the full sample table.
class SettingsFolder {
  public:
    SettingsFolder() : path_(folder_.filePath(QStringLiteral("Pesterly/Pesterly.ini"))) {
        IniSettingsStore store(path_);
        ok_ = folder_.isValid() && SaveSettings(SampleTable(), store).ok();
    }
    const QString& Path() const { return path_; }
    bool Ok() const { return ok_; }

  private:
    QTemporaryDir folder_;
    QString path_;
    bool ok_ = false;
};

// What the program does when it starts: open the file and fill the tables.
void LoadAll(Database& db, const QString& path) {
    IniSettingsStore store(path);
    LoadSettings(db, store);
    LoadOptions(db, store, kReviewDay.DatePart());
}

void BM_SettingsLoad(benchmark::State& state) {
    const SettingsFolder folder;
    if (!folder.Ok()) {
        state.SkipWithError("could not write the sample settings file");
        return;
    }
    for (auto _ : state) {
        Database db;
        LoadAll(db, folder.Path());
        benchmark::DoNotOptimize(db.HappeningCount);
    }
}

// A day's use, as the file sees it: the review moved the review date on and marked some
// repeating events done. Every save then has something to write, as at a real exit.
void LiveADay(Database& db) {
    db.options.CheckDate = db.options.CheckDate.AddDays(1);
    for (int slot = 0; slot < db.HappeningCount; slot += 10) {
        db.Happenings[slot].DoneDate = db.options.CheckDate;
    }
}

// Saves the full table again and again, each time after `change`.
void SaveAfter(benchmark::State& state, void (*change)(Database&)) {
    const SettingsFolder folder;
    Database db;
    IniSettingsStore store(folder.Path());
    LoadSettings(db, store);
    LoadOptions(db, store, kReviewDay.DatePart());
    for (auto _ : state) {
        change(db);
        if (const Result<void> saved = SaveSettings(db, store); !saved) {
            state.SkipWithError(saved.error().message.c_str());
            return;
        }
    }
}

// What the program does when it ends: write every slot and replace the file.
void BM_SettingsSave(benchmark::State& state) {
    SaveAfter(state, LiveADay);
}

// What the program does a moment after each change while it runs: one event done, the whole
// table written again and the file replaced, synced to the disk.
void BM_SettingsSaveOneChange(benchmark::State& state) {
    SaveAfter(state, [](Database& db) {
        Happening& changed = db.Happenings[db.HappeningCount / 2];
        changed.DoneDate = changed.DoneDate.AddDays(1);
    });
}

// A whole run of the program as far as its settings go.
void BM_SettingsLoadAndSave(benchmark::State& state) {
    const SettingsFolder folder;
    for (auto _ : state) {
        Database db;
        IniSettingsStore store(folder.Path());
        LoadSettings(db, store);
        LoadOptions(db, store, kReviewDay.DatePart());
        LiveADay(db);
        if (const Result<void> saved = SaveSettings(db, store); !saved) {
            state.SkipWithError(saved.error().message.c_str());
            return;
        }
    }
}

// The file is replaced on disk, so the wall clock is what the user waits for.
BENCHMARK(BM_SettingsLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SettingsLoadAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SettingsSaveOneChange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace pesterly::bench
