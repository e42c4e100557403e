#include "report/TReportRenderer.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

constexpr double UsableHeightMm = TReportPage::PaperHeightMm - 2 * TReportPage::MarginMm;
constexpr double FrameLineMm = 0.3;  // neighbouring frames overlap by this much
constexpr double RuleLineMm = 0.2;
constexpr double RuleGapMm = 0.6;      // between the memo's last line and its rule
constexpr double BandPaddingMm = 1.0;  // below a grown memo's rule
constexpr double SmallestFontPt = 6.0;

double RuleBottomMm(double linesTopMm, int lineCount, double lineHeightMm) {
    return linesTopMm + lineCount * lineHeightMm + RuleGapMm;
}

QRectF MmRect(double leftMm, double topMm, double widthMm, double heightMm, double dpm) {
    return QRectF(leftMm * dpm, topMm * dpm, widthMm * dpm, heightMm * dpm);
}

// The report font at each size used on a sheet, made once with its metrics on the
// painter's device: building a font and finding its face again for every text costs
// more than measuring the text.
class TSheetFonts {
public:
    struct TSized {
        double PointSize;
        QFont Font;
        QFontMetricsF Metrics;
    };

    explicit TSheetFonts(QPainter& painter) : FPainter(painter) {}

    const TSized& At(double pointSize) {
        for (const TSized& sized : FSizes)
            if (sized.PointSize == pointSize) return sized;
        const QFont font(TReportRenderer::Font(pointSize), FPainter.device());
        return FSizes.emplace_back(TSized{pointSize, font, QFontMetricsF(font, FPainter.device())});
    }

    // Sets the painter's font, unless it is set already.
    void Use(const TSized& sized) {
        if (&sized == FInUse) return;
        FPainter.setFont(sized.Font);
        FInUse = &sized;
    }

private:
    QPainter& FPainter;
    std::deque<TSized> FSizes;  // stays where it is as sizes are added
    const TSized* FInUse = nullptr;
};

// Text left-aligned at its place on an opaque white ground. A text with a room that
// it does not fit in is set smaller, and shortened only below the smallest size.
void PaintText(QPainter& painter, TSheetFonts& fonts, const QString& text, double leftMm,
               double topMm, double pointSize, double roomMm, double dpm) {
    if (text.isEmpty()) return;
    const TSheetFonts::TSized* sized = &fonts.At(pointSize);
    const double roomPx = roomMm * dpm;
    double advance = sized->Metrics.horizontalAdvance(text);
    QString shown = text;
    if (roomMm > 0) {
        while (advance > roomPx && sized->PointSize > SmallestFontPt) {
            sized = &fonts.At(std::max(SmallestFontPt, sized->PointSize - 0.5));
            advance = sized->Metrics.horizontalAdvance(text);
        }
        // Shortening measures in 1/64 pixel: a text that fits by less is left to it.
        if (advance > roomPx - 1.0 / 64) {
            shown = sized->Metrics.elidedText(text, Qt::ElideRight, roomPx);
            if (shown != text) advance = sized->Metrics.horizontalAdvance(shown);
        }
    }
    fonts.Use(*sized);
    const QPointF origin(leftMm * dpm, topMm * dpm);
    painter.fillRect(QRectF(origin, QSizeF(advance, sized->Metrics.height())), Qt::white);
    painter.drawText(origin + QPointF(0, sized->Metrics.ascent()), shown);
}

void PaintFrameInside(QPainter& painter, const TPlacedElement& placed, double dpm) {
    const TReportElement& e = *placed.Element;
    painter.fillRect(MmRect(placed.LeftMm, placed.TopMm, e.WidthMm, e.HeightMm, dpm), Qt::white);
}

// The outline lies inside the frame's edges, so frames overlapping by one line width
// share their edge.
void PaintFrameOutline(QPainter& painter, const TPlacedElement& placed, double dpm) {
    const TReportElement& e = *placed.Element;
    const double half = FrameLineMm / 2;
    painter.setPen(QPen(Qt::black, FrameLineMm * dpm, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(MmRect(placed.LeftMm + half, placed.TopMm + half, e.WidthMm - FrameLineMm,
                            e.HeightMm - FrameLineMm, dpm));
}

void PaintMemo(QPainter& painter, TSheetFonts& fonts, const TPlacedElement& placed, double dpm) {
    const TReportElement& e = *placed.Element;
    const double lineHeightMm = TReportRenderer::LineHeightMm(e.FontPt);
    for (int i = 0; i < placed.Lines.size(); ++i)
        PaintText(painter, fonts, placed.Lines[i], placed.LeftMm, placed.TopMm + i * lineHeightMm,
                  e.FontPt, e.WidthMm, dpm);
    if (!placed.DrawRule) return;
    const double y = RuleBottomMm(placed.TopMm, placed.Lines.size(), lineHeightMm);
    painter.setPen(QPen(Qt::black, RuleLineMm * dpm, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(placed.LeftMm * dpm, y * dpm),
                     QPointF((placed.LeftMm + e.WidthMm) * dpm, y * dpm));
}

// The picture as filled rectangles, one per run of equal pixels over equal rows: the
// PDF writer would store a raster picture as lossy JPEG, and the sketch's colours and
// edges must stay exact at any zoom and on paper.
void PaintPicture(QPainter& painter, const TPlacedElement& placed, double dpm) {
    const TReportElement& e = *placed.Element;
    const QImage image = e.Image.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return;
    const double pixelWidth = e.WidthMm * dpm / image.width();
    const double pixelHeight = e.HeightMm * dpm / image.height();
    const double left = placed.LeftMm * dpm;
    const double top = placed.TopMm * dpm;
    const qsizetype rowBytes = image.width() * sizeof(QRgb);
    for (int y = 0; y < image.height();) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int below = y + 1;
        while (below < image.height() && std::memcmp(image.constScanLine(below), row, rowBytes) == 0)
            ++below;
        for (int x = 0; x < image.width();) {
            int end = x + 1;
            while (end < image.width() && row[end] == row[x]) ++end;
            painter.fillRect(QRectF(left + x * pixelWidth, top + y * pixelHeight,
                                    (end - x) * pixelWidth, (below - y) * pixelHeight),
                             QColor(row[x]));
            x = end;
        }
        y = below;
    }
}

}  // namespace

TReportRenderer::TReportRenderer(TReportPage page) : FPage(std::move(page)) { LayOut(); }

QFont TReportRenderer::Font(double pointSize) {
    QFont font(QStringLiteral("Arial"));
    // Any of these keeps Arial's metrics or comes close; the last resort is whatever
    // sans-serif face the system has, so a missing font never stops the page.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("Helvetica"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    // Unhinted glyphs scale exactly with the size, on paper as on screen.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(pointSize);
    return font;
}

double TReportRenderer::LineHeightMm(double pointSize) {
    // Measured once per size: the face does not change while the program runs.
    static std::vector<std::pair<double, double>> measured;
    for (const auto& [size, heightMm] : measured)
        if (size == pointSize) return heightMm;
    // Measured at print resolution so that the layout does not follow screen hinting.
    static const QImage reference = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(47244);  // 1200 dpi
        image.setDotsPerMeterY(47244);
        return image;
    }();
    const QFontMetricsF metrics(Font(pointSize), &reference);
    const double heightMm = metrics.lineSpacing() * 25.4 / 1200.0;
    measured.emplace_back(pointSize, heightMm);
    return heightMm;
}

const TPlacedElement* TReportRenderer::Placed(const QString& name) const {
    for (const auto& sheet : FSheets)
        for (const auto& placed : sheet)
            if (placed.Element->Name == name) return &placed;
    return nullptr;
}

void TReportRenderer::LayOut() {
    const auto header = std::find_if(FPage.Bands.begin(), FPage.Bands.end(),
                                     [](const TReportBand& b) { return b.Kind == TBandKind::PageHeader; });
    const auto place = [this](const TReportBand& band, double topMm) {
        for (const auto& e : band.Elements)
            if (e.Enabled && e.Kind != TElementKind::Memo)
                FSheets.back().push_back({&e, e.LeftMm, topMm + e.TopMm, {}, false});
    };
    // Starts a sheet with the page header; returns where the next band may begin.
    const auto newSheet = [&]() {
        FSheets.emplace_back();
        if (header == FPage.Bands.end()) return 0.0;
        place(*header, 0.0);
        return header->HeightMm;
    };

    double y = newSheet();
    const double sheetTopMm = y;
    for (const auto& band : FPage.Bands) {
        if (band.Kind == TBandKind::PageHeader) continue;
        if (y + band.HeightMm > UsableHeightMm && y > sheetTopMm) y = newSheet();
        place(band, y);
        double bandEndMm = y + band.HeightMm;
        for (const auto& e : band.Elements) {
            if (!e.Enabled || e.Kind != TElementKind::Memo || e.Lines.isEmpty()) continue;
            const double lineHeightMm = LineHeightMm(e.FontPt);
            double top = y + e.TopMm;
            TPlacedElement piece{&e, e.LeftMm, top, {}, false};
            for (const QString& line : e.Lines) {
                if (top + (piece.Lines.size() + 1) * lineHeightMm + RuleGapMm > UsableHeightMm &&
                    !piece.Lines.isEmpty()) {
                    FSheets.back().push_back(piece);
                    top = newSheet();
                    bandEndMm = top;
                    piece = {&e, e.LeftMm, top, {}, false};
                }
                piece.Lines.append(line);
            }
            piece.DrawRule = true;
            FSheets.back().push_back(piece);
            bandEndMm = std::max(bandEndMm, RuleBottomMm(top, piece.Lines.size(), lineHeightMm) +
                                                BandPaddingMm);
        }
        y = bandEndMm;
    }
}

void TReportRenderer::PaintSheet(QPainter& painter, int index, double dpm) const {
    const auto& sheet = FSheets.at(index);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Frames first, all insides before all outlines, so that no white inside covers a
    // neighbour's edge; then the texts, memo and pictures over them.
    for (const auto& p : sheet)
        if (p.Element->Kind == TElementKind::Frame) PaintFrameInside(painter, p, dpm);
    for (const auto& p : sheet)
        if (p.Element->Kind == TElementKind::Frame) PaintFrameOutline(painter, p, dpm);
    painter.setPen(Qt::black);
    TSheetFonts fonts(painter);
    for (const auto& p : sheet) {
        const TReportElement& e = *p.Element;
        switch (e.Kind) {
        case TElementKind::Frame:
            break;
        case TElementKind::Text:
        case TElementKind::DataText:
        case TElementKind::Date:
            painter.setPen(Qt::black);
            PaintText(painter, fonts, e.Text, p.LeftMm, p.TopMm, e.FontPt, e.WidthMm, dpm);
            break;
        case TElementKind::Memo:
            PaintMemo(painter, fonts, p, dpm);
            break;
        case TElementKind::Picture:
            PaintPicture(painter, p, dpm);
            break;
        }
    }
    painter.restore();
}

void TReportRenderer::Render(QPagedPaintDevice& device, int FirstPage, int LastPage) const {
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                         QMarginsF(TReportPage::MarginMm, TReportPage::MarginMm,
                                   TReportPage::MarginMm, TReportPage::MarginMm),
                         QPageLayout::Millimeter);
    if (!device.setPageLayout(a4)) {
        // A printer with wider unprintable borders keeps its own margins.
        device.setPageSize(QPageSize(QPageSize::A4));
        device.setPageOrientation(QPageLayout::Portrait);
    }
    QPainter painter;
    if (!painter.begin(&device)) throw std::runtime_error("The report could not be printed.");
    const double dpm = device.logicalDpiX() / 25.4;
    // Positions are measured from the paper's margins, whatever margins the device kept.
    const QPointF paintOriginMm = device.pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
    painter.translate((TReportPage::MarginMm - paintOriginMm.x()) * dpm,
                      (TReportPage::MarginMm - paintOriginMm.y()) * dpm);
    const int first = std::max(FirstPage, 1) - 1;
    const int last = std::min(LastPage, SheetCount()) - 1;
    for (int i = first; i <= last; ++i) {
        if (i > first) device.newPage();
        PaintSheet(painter, i, dpm);
    }
    painter.end();
}
