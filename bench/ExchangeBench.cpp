// Exporting the full table to an exchange file and to a calendar, and importing each into an
// empty table.
#include <benchmark/benchmark.h>

#include <vector>

#include "SampleTable.h"
#include "exchange/Calendar.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ImportHappenings.h"
#include "platform/IcalCalendar.h"

namespace pesterly::bench {
namespace {

std::vector<Happening> LiveEvents(const Database& db) {
    return {db.Happenings.begin(), db.Happenings.begin() + db.HappeningCount};
}

void BM_ExportFullTable(benchmark::State& state) {
    const std::vector<Happening> events = LiveEvents(SampleTable());
    for (auto _ : state) {
        std::string bytes = WriteExchangeFile(events);
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_ImportFullTable(benchmark::State& state) {
    const std::string bytes = WriteExchangeFile(LiveEvents(SampleTable()));
    for (auto _ : state) {
        const ParsedExchangeFile parsed = ParseExchangeFile(bytes);
        if (!parsed) {
            state.SkipWithError("the exported file does not read back");
            return;
        }
        Database db;
        const ImportSummary summary = ImportHappenings(db, parsed->events);
        if (summary.appended_slots.size() != Database::kSlots) {
            state.SkipWithError("not every event was imported");
            return;
        }
    }
}

void BM_ExportFullTableToCalendar(benchmark::State& state) {
    const Database& db = SampleTable();
    for (auto _ : state) {
        std::string text = WriteICalendar(CalendarItemsOf(db, AllSlots(db)), 0);
        benchmark::DoNotOptimize(text);
    }
}

void BM_ImportFullTableFromCalendar(benchmark::State& state) {
    const Database& sample = SampleTable();
    const std::string text = WriteICalendar(CalendarItemsOf(sample, AllSlots(sample)), 0);
    for (auto _ : state) {
        const Result<std::vector<CalendarItem>> items = ReadICalendar(text);
        if (!items) {
            state.SkipWithError("the exported calendar does not read back");
            return;
        }
        Database db;
        const CalendarImportSummary summary =
            ImportCalendar(db, *items, DateValue::Compose(2026, 12, 7));
        benchmark::DoNotOptimize(summary);
    }
}

BENCHMARK(BM_ExportFullTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportFullTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportFullTableToCalendar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportFullTableFromCalendar)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pesterly::bench
