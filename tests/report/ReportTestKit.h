// Shared by the report tests: an input and tables to fill from, and a driver that
// runs Button1Click, acts on the preview it opens and closes it.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "report/TPrintPreview.h"
#include "report/TReportForm.h"
#include "report/TReportRenderer.h"

inline TReportInput SampleInput(bool floor) {
    TReportInput in;
    in.HasFloorStructure = floor;
    in.InsulationThicknessText = QStringLiteral("0.1");
    in.ConcreteThicknessText = QStringLiteral("0.1");
    in.Name = QStringLiteral("Anna Lindqvist");
    in.Project = QStringLiteral("Slab on ground, house 4");
    in.ContactLines = {QStringLiteral("Byggfysik AB"), QStringLiteral("Storgatan 1, Lund"),
                       QStringLiteral("046-123456")};
    in.Results = {"3.0666", "6.1416", "0.3928", "12.1062", "10.7316",
                  "19.4080", "7.9029", "12.9449", "64.2840", "77.1834"};
    return in;
}

// Table n's display text of a column: "<n>:<column>", empty for the column "missing".
inline QString SampleTables(int table, const QString& column) {
    return column == QStringLiteral("missing") ? QString()
                                               : QStringLiteral("%1:%2").arg(table).arg(column);
}

// Runs form.Button1Click(); once its preview is open, calls OnOpen with it and closes it.
// Fails instead of hanging when a modal box shows up or the preview stays open.
class TPreviewDriver {
public:
    int PreviewsSeen = 0;
    bool ReturnedBeforeClose = false;

    void Run(TReportForm& form, const std::function<void(TPrintPreview&)>& OnOpen = {}) {
        bool closed = false;
        QTimer poll;
        int ticks = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
                QFAIL("an unexpected modal window was open");
            }
            TPrintPreview* preview = TPrintPreview::OpenPreview();
            if (!preview || closed) return;
            if (!preview->isVisible() && ++ticks < 100) return;
            ++PreviewsSeen;
            poll.stop();
            if (OnOpen) OnOpen(*preview);
            closed = true;
            preview->close();
        });
        poll.start(20);
        form.Button1Click();
        ReturnedBeforeClose = !closed && PreviewsSeen > 0;
    }
};
