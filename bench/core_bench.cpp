// The time from a key event to the last spoken text it causes, on the in-memory platform.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "platform/posix/PosixFileSystem.h"

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

// Save on a game that has a file (no dialog): the record, the crash-safe write and " was saved! ".
void BM_SaveGame(benchmark::State& state) {
    TestTable t;
    t.StartAndDeal();
    t.fileDialog.Answers = {"/home/player/Game1.qrl"};
    t.window.menus.Click(mnuGameSaveAs);
    for (auto _ : state) {
        t.screen.Files.SaveGame();
        if (t.reader.Transcript.size() > 4096) t.reader.Transcript.clear();
    }
}
BENCHMARK(BM_SaveGame);

// Open with the dialog answered at once: the read, the checks and the table laid out again.
void BM_OpenGame(benchmark::State& state) {
    TestTable t;
    t.StartAndDeal();
    t.fileDialog.Answers = {"/home/player/Game1.qrl"};
    t.window.menus.Click(mnuGameSaveAs);
    for (auto _ : state) {
        t.fileDialog.Answers = {"/home/player/Game1.qrl"};
        t.state.OpenedFromFile = 1;
        t.screen.Files.OpenGame();
        if (t.reader.Transcript.size() > 4096) t.reader.Transcript.clear();
    }
}
BENCHMARK(BM_OpenGame);

// The same Save on this machine's disk, flushing included.
void BM_SaveGameToDisk(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / ("quorrel-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    {
        MemoryServices services;
        MemoryWindow window;
        PosixFileSystem disk;
        Platform platform = services.On(static_cast<IWindow&>(window), disk);
        GameState gameState;
        GameScreen screen(gameState, platform);
        Main(screen);
        window.menus.Click(mnuGameNew);
        services.fileDialog.Answers = {(folder / "Game1.qrl").string()};
        window.menus.Click(mnuGameSaveAs);
        for (auto _ : state) {
            screen.Files.SaveGame();
            if (services.reader.Transcript.size() > 4096) services.reader.Transcript.clear();
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveGameToDisk)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorrel::test

BENCHMARK_MAIN();
