// Filling and writing one report page as PDF beside the baseline of an empty A4 page
// written by QPdfWriter in the same run; the ratio of the two is the figure. A page with
// one line of text by QPdfWriter is measured too: embedding the font is a fixed cost of
// any PDF with text it writes (it probes every code point of the font for its Unicode
// map), which the report's own writer avoids by naming the face instead of embedding it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "report/TReportPdf.h"
#include "report/TReportRenderer.h"
#include "report/Unit6.h"

namespace {

TReportInput Input() {
    TReportInput in;
    in.HasFloorStructure = true;
    in.InsulationThicknessText = QStringLiteral("0.1");
    in.ConcreteThicknessText = QStringLiteral("0.1");
    in.Name = QStringLiteral("Anna Lindqvist");
    in.Project = QStringLiteral("Slab on ground, house 4");
    in.ContactLines = {QStringLiteral("Byggfysik AB"), QStringLiteral("Storgatan 1, Lund")};
    in.Results = {"3.0666", "6.1416", "0.3928", "12.1062", "10.7316",
                  "19.4080", "7.9029", "12.9449", "64.2840", "77.1834"};
    return in;
}

// One A4 page into memory, with Paint drawing on it.
template <typename Paint>
void A4Pdf(benchmark::State& state, Paint paint) {
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        paint(painter);
        painter.end();
        benchmark::DoNotOptimize(buffer.data().size());
    }
}

void EmptyA4Pdf(benchmark::State& state) {
    A4Pdf(state, [](QPainter&) {});
}
BENCHMARK(EmptyA4Pdf)->Unit(benchmark::kMillisecond);

void OneLineA4Pdf(benchmark::State& state) {
    A4Pdf(state, [](QPainter& painter) {
        painter.setFont(TReportRenderer::Font(10));
        painter.drawText(QPointF(1000, 1000), QStringLiteral("Vilo"));
    });
}
BENCHMARK(OneLineA4Pdf)->Unit(benchmark::kMillisecond);

void FilledReportPdf(benchmark::State& state) {
    TForm6 form;
    form.SetInputSource(Input);
    form.SetTableSource([](int table, const QString& column) {
        return QStringLiteral("%1 %2").arg(table).arg(column.left(8));
    });
    TReportPdf pdf;
    pdf.Title = QStringLiteral("Vilo report");
    pdf.Creator = QStringLiteral("Vilo");
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        form.Fill();
        pdf.Write(TReportRenderer(form.Prepared()), buffer);
        benchmark::DoNotOptimize(buffer.data().size());
    }
}
BENCHMARK(FilledReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);  // fonts need the GUI application
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
