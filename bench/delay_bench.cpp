// The cost of the deal's wait: Delay on the real Qt event pump should sleep, not spin a core.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <ctime>

#include "platform/qt/QtServices.h"
#include "support/TestTable.h"

namespace {

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// One wait of the deal's length (two seconds); cpu_share is the part of one core it used.
void BM_DealWait(benchmark::State& state) {
    quorrel::test::TestTable t;
    quorrel::QtClock clock;
    quorrel::Platform platform{t.window,     t.reader,  clock,        clock,        t.messages, t.settings,
                               t.fileDialog, t.desktop, t.fileSystem, t.background, t.sounds,   "/opt/quorrel"};
    quorrel::GameState gameState;
    quorrel::GameScreen screen(gameState, platform);
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double cpuStart = ProcessCpuSeconds();
        const auto wallStart = clock.TickCount();
        screen.Delay(20);
        cpu += ProcessCpuSeconds() - cpuStart;
        wall += static_cast<double>(clock.TickCount() - wallStart) / 1000.0;
    }
    state.counters["cpu_share"] = cpu / wall;
}
BENCHMARK(BM_DealWait)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
