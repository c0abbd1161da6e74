// The daily review over a full table of due events, answered from a script.
#include <benchmark/benchmark.h>

#include <vector>

#include "SampleTable.h"
#include "reminder/Review.h"
#include "support/FakeClock.h"
#include "support/RecordingNagMailer.h"
#include "support/ScriptedAsker.h"

namespace pesterly::bench {
namespace {

using testing::FakeClock;
using testing::RecordingNagMailer;
using testing::ScriptedAsker;

// Yes, No and Cancel in turn, one answer for each of the 101 due events.
std::vector<Answer> AnswersForFullTable() {
    constexpr Answer kTurns[] = {Answer::kYes, Answer::kNo, Answer::kCancel};
    std::vector<Answer> answers;
    for (int i = 0; i < Database::kSlots; ++i) {
        answers.push_back(kTurns[i % 3]);
    }
    return answers;
}

void BM_ReviewFullTable(benchmark::State& state) {
    const Database table = SampleTable();
    const FakeClock clock(kReviewDay);
    std::size_t mails = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Database db = table;
        ScriptedAsker asker;
        asker.Script(AnswersForFullTable());
        RecordingNagMailer mailer;
        state.ResumeTiming();

        ReviewDueHappenings(db, asker, mailer, clock);

        state.PauseTiming();
        if (asker.questions.size() != Database::kSlots || asker.unexpected != 0) {
            state.SkipWithError("the review did not ask about every event exactly once");
            return;
        }
        mails = mailer.sent.size();
        state.ResumeTiming();
    }
    state.counters["questions"] = Database::kSlots;
    state.counters["mails"] = static_cast<double>(mails);
}

BENCHMARK(BM_ReviewFullTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pesterly::bench
