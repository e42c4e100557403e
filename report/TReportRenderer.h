// Lays the report page out on A4 sheets and paints them on any paged device.
#pragma once

#include <QFont>
#include <QStringList>

#include <vector>

#include "report/TReportPage.h"

class QPagedPaintDevice;
class QPainter;

// An element at its place on one sheet, in mm from the top-left corner inside the margins.
struct TPlacedElement {
    const TReportElement* Element = nullptr;
    double LeftMm = 0;
    double TopMm = 0;
    QStringList Lines;      // the memo lines that fall on this sheet
    bool DrawRule = false;  // the memo's closing rule is on this sheet
};

class TReportRenderer {
public:
    // Lays out a prepared page: disabled elements are left out, the memo pushes what
    // follows it down and continues on a new sheet when it reaches the bottom margin.
    explicit TReportRenderer(TReportPage page);
    TReportRenderer(const TReportRenderer&) = delete;  // sheets point into the page
    TReportRenderer& operator=(const TReportRenderer&) = delete;

    // The prepared page being laid out.
    const TReportPage& Page() const { return FPage; }

    int SheetCount() const { return static_cast<int>(FSheets.size()); }
    const std::vector<TPlacedElement>& Sheet(int index) const { return FSheets.at(index); }

    // The placed element of that name on any sheet (the first piece of a memo), or null.
    const TPlacedElement* Placed(const QString& name) const;

    // Sets A4 portrait with 10 mm margins and paints sheets FirstPage..LastPage (from 1,
    // clamped to the report), one page each. Throws std::runtime_error when the device
    // cannot be painted on.
    void Render(QPagedPaintDevice& device, int FirstPage = 1, int LastPage = 9999) const;

    // Paints one sheet; the painter's origin is the top-left corner inside the margins.
    void PaintSheet(QPainter& painter, int index, double DotsPerMm) const;

    // The report face (Arial, or a metric equivalent) at that size.
    static QFont Font(double pointSize);

    // Distance between memo lines of that size, in mm, independent of the device.
    static double LineHeightMm(double pointSize);

private:
    TReportPage FPage;
    std::vector<std::vector<TPlacedElement>> FSheets;

    void LayOut();
};
