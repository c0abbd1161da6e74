// Exporting the full table to an exchange file and importing it into an empty table.
#include <benchmark/benchmark.h>

#include <vector>

#include "SampleTable.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ImportHappenings.h"

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

BENCHMARK(BM_ExportFullTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportFullTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pesterly::bench
