// Start-up to the first paint of the chooser beside a minimal Qt program (whole
// processes, same probe), peak memory of both, and Calculate from click to
// results written beside a bare CalculateSlab call.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

#include "calc/slab.h"
#include "data/TTableSet.h"
#include "support/ViloTestSupport.h"
#include "ui/Unit2.h"
#include "ui/Unit5.h"

extern char** environ;

namespace {

// Runs Program to its exit; returns the wall time in seconds and the peak memory in KiB.
std::pair<double, long> RunProbe(const char* program)
{
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0)
        std::abort();
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::abort();
    return {seconds, usage.ru_maxrss};
}

void StartupOf(benchmark::State& state, const char* program)
{
    RunProbe(program);  // warm the file cache (and seed the tables) outside the figures
    long peakKiB = 0;
    for (auto _ : state) {
        const auto [seconds, kib] = RunProbe(program);
        state.SetIterationTime(seconds);
        peakKiB = std::max(peakKiB, kib);
    }
    state.counters["peak_KiB"] = static_cast<double>(peakKiB);
}

void BM_StartupMinimalWindow(benchmark::State& state) { StartupOf(state, MINIMAL_STARTUP_PROBE); }
void BM_StartupVilo(benchmark::State& state) { StartupOf(state, VILO_STARTUP_PROBE); }

BENCHMARK(BM_StartupMinimalWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupVilo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The English window over its tables, with inputs that calculate under a full stop.
struct TCalcSetup {
    std::unique_ptr<TForm5> Editor = std::make_unique<TForm5>();
    std::unique_ptr<TFormEng> Window = std::make_unique<TFormEng>();
    TCalcSetup()
    {
        Window->BindTables(Editor->Tables());
        Window->Edit4->setText(QStringLiteral("0.1"));
        Window->Edit5->setText(QStringLiteral("0.1"));
        Window->CheckBox1->setChecked(true);
    }
};

void BM_CalculateClick(benchmark::State& state)
{
    TCalcSetup setup;
    for (auto _ : state)
        setup.Window->Button1->click();
    if (setup.Window->Edit14->text().isEmpty())
        state.SkipWithError("Calculate wrote no result");
}

void BM_CalculateSlabBare(benchmark::State& state)
{
    TCalcSetup setup;
    TSlabInput input;
    setup.Editor->Tables()->ReadSlabRecords(input, '.');
    input.IndoorTemp = 20;
    input.Width = 10;
    input.Length = 15;
    input.ConcreteThickness = 0.1f;
    input.InsulationThickness = 0.1f;
    input.MoistureSupplement = 4;
    input.HasFloorCovering = true;
    input.Floor.HeatResistance = setup.Editor->Tables()->ReadFloorHeatResistance('.');
    for (auto _ : state) {
        benchmark::DoNotOptimize(input);
        benchmark::DoNotOptimize(CalculateSlab(input));
    }
}

BENCHMARK(BM_CalculateSlabBare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalculateClick)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    // On a desktop (or under xvfb-run) the probes start as the user's program does;
    // without a display they run offscreen. Either way over tables of their own.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale::c());
    ViloTest::TTestHome tables;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
