// The time from a key event to the last spoken text it causes, on the in-memory platform.
#include <benchmark/benchmark.h>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

// A column-to-column drop whose source and destination differ in row and column from the cursor: the
// move raises four cell-change announcements before it says " was moved ".
void BM_ColumnToColumnDrop(benchmark::State& state) {
    TestTable t;
    t.StartAndDeal();
    for (auto _ : state) {
        state.PauseTiming();
        t.LayOut({{"KC", "QD", "7H"}, {}, {}, {"8S"}});
        t.state.Loading = -1;
        t.window.column.SetRow(3);
        t.window.column.SetCol(0);
        t.screen.Column_Click();
        t.window.column.SetRow(2);
        t.window.column.SetCol(3);
        t.state.Loading = 0;
        t.reader.Transcript.clear();
        state.ResumeTiming();
        t.Press(keys::Return);
        benchmark::DoNotOptimize(t.reader.Transcript.back());
    }
}
BENCHMARK(BM_ColumnToColumnDrop);

void BM_ArrowKeyAnnouncement(benchmark::State& state) {
    TestTable t;
    t.StartAndDeal();
    int key = keys::Right;
    for (auto _ : state) {
        t.Press(key);
        if (t.window.column.Col() == 7) key = keys::Left;
        if (t.window.column.Col() == 0) key = keys::Right;
        if (t.reader.Transcript.size() > 4096) t.reader.Transcript.clear();
    }
}
BENCHMARK(BM_ArrowKeyAnnouncement);

void BM_ShuffleDeck(benchmark::State& state) {
    TestTable t;
    for (auto _ : state) {
        t.screen.ShuffleDeck();
        benchmark::DoNotOptimize(t.state.Deck);
    }
}
BENCHMARK(BM_ShuffleDeck);

}  // namespace
}  // namespace quorrel::test

BENCHMARK_MAIN();
