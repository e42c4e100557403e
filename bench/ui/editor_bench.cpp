// The editors against the bare tables under them, in the same run: creating both
// editor windows beside opening the two table sets, a row move by the Down key (the
// grid's highlight and the navigator follow) beside TTable::Next, and a value typed
// and posted through the grid beside the same post made on the table.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

#include "data/TTable.h"
#include "data/TTableSet.h"
#include "support/ViloTestSupport.h"
#include "ui/TDBGrid.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"

namespace {

std::unique_ptr<ViloTest::TTestHome> gHome;

void BM_TableSetsOpen(benchmark::State& state)
{
    for (auto _ : state) {
        TTableSet swedish(TLanguage::Swedish);
        TTableSet english(TLanguage::English);
        swedish.Open();
        english.Open();
        benchmark::DoNotOptimize(english.Table(1)->RecordCount());
    }
}
BENCHMARK(BM_TableSetsOpen)->Unit(benchmark::kMillisecond);

void BM_EditorWindowsCreate(benchmark::State& state)
{
    for (auto _ : state) {
        TForm4 swedish;
        TForm5 english;
        benchmark::DoNotOptimize(english.Tables()->Table(1)->RecordCount());
    }
}
BENCHMARK(BM_EditorWindowsCreate)->Unit(benchmark::kMillisecond);

void BM_TableNext(benchmark::State& state)
{
    TTableSet english(TLanguage::English);
    english.Open();
    TTable* cities = english.Table(1);
    for (auto _ : state) {
        if (cities->Eof())
            cities->First();
        else
            cities->Next();
    }
}
BENCHMARK(BM_TableNext);

void BM_GridDownKey(benchmark::State& state)
{
    TForm5 editor;
    editor.show();
    TDBGrid* grid = editor.Grid(1);
    TTable* cities = editor.Tables()->Table(1);
    grid->setFocus();
    // Read-only rows: Down on the last row would append instead of moving.
    for (auto _ : state) {
        if (cities->RecNo() == cities->RecordCount() - 1)
            QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        else
            QTest::keyClick(grid, Qt::Key_Down);
    }
}
BENCHMARK(BM_GridDownKey);

void BM_TablePost(benchmark::State& state)
{
    TTableSet english(TLanguage::English);
    english.Open();
    TTable* soils = english.Table(4);
    int i = 0;
    for (auto _ : state) {
        soils->SetFieldText(1, QString::number(1 + (++i % 2)));
        soils->Post();
    }
}
BENCHMARK(BM_TablePost)->Unit(benchmark::kMillisecond);

void BM_GridTypeAndPost(benchmark::State& state)
{
    TForm5 editor;
    editor.show();
    TDBGrid* grid = editor.Grid(4);
    grid->setFocus();
    grid->SetSelectedIndex(1);
    int i = 0;
    for (auto _ : state) {
        QTest::keyClicks(grid, QString::number(1 + (++i % 2)));
        QTest::keyClick(grid->CellEditor(), Qt::Key_Return);
        QTest::keyClick(grid, Qt::Key_Down);  // posts, then stands on the next row
        QTest::keyClick(grid, Qt::Key_Up);
    }
}
BENCHMARK(BM_GridTypeAndPost)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ViloTest::UseProgramFont();
    gHome = std::make_unique<ViloTest::TTestHome>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gHome.reset();
    return 0;
}
