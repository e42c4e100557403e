#include "report/TReportPdf.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "report/TReportPage.h"
#include "report/TReportRenderer.h"

namespace {

// Device pixels per inch, as QPdfWriter's default, so that the texts are measured alike
// on both writers.
constexpr int DotsPerInch = 1200;
constexpr double PointsPerDot = 72.0 / DotsPerInch;
constexpr double PaperWidthPt = TReportPage::PaperWidthMm * 72 / 25.4;
constexpr double PaperHeightPt = TReportPage::PaperHeightMm * 72 / 25.4;

// Code points 0x80..0x9f of the code page; zero where it has no character.
constexpr std::array<char16_t, 32> WinAnsiHigh{
    0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178};

// The byte of a character in the code page of the PDF's font, or -1 when it has none
// (control characters included: they have no glyph to show).
int WinAnsiByte(char16_t c) {
    if ((c >= 0x20 && c < 0x7f) || (c >= 0xa0 && c <= 0xff)) return c;
    for (int i = 0; i < 32; ++i)
        if (WinAnsiHigh[i] == c && c != 0) return 0x80 + i;
    return -1;
}

char16_t WinAnsiChar(int byte) {
    return byte >= 0x80 && byte < 0xa0 ? WinAnsiHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

// The report face's advances and kerning in thousandths of the em, the units of a PDF
// font's widths. Measured on the face the report font resolves to, so that each text in
// the PDF takes exactly the room the layout gave it.
struct TFaceMetrics {
    static constexpr int ReferencePx = 2048;  // a common em size: advances come out whole
    bool Ready = false;
    QString Family;
    QByteArray Name;  // the family as a PDF name
    double Ascent = 0, Descent = 0, CapHeight = 0, Left = 0, Right = 0;
    std::array<double, 256> Widths{};
    QHash<quint16, double> Kerning;  // by first byte * 256 + second byte

    QFont Reference() const {
        QFont font = TReportRenderer::Font(TReportPage::DefaultFontPt);
        font.setPixelSize(ReferencePx);
        return font;
    }

    void Prepare() {
        if (Ready) return;
        const QFont font = Reference();
        const QFontMetricsF metrics(font);
        for (int b = 0x20; b < 0x100; ++b) {
            const char16_t c = WinAnsiChar(b);
            Widths[b] = c ? metrics.horizontalAdvance(QChar(c)) * 1000 / ReferencePx : 0;
        }
        const auto thousandths = [](double px) { return px * 1000 / ReferencePx; };
        Ascent = thousandths(metrics.ascent());
        Descent = -thousandths(metrics.descent());
        CapHeight = thousandths(metrics.capHeight());
        Left = thousandths(std::min(0.0, metrics.minLeftBearing()));
        Right = thousandths(metrics.maxWidth());
        Family = QFontInfo(font).family();
        for (const QChar c : Family)
            if (c.isLetterOrNumber() && c.unicode() < 0x80) Name += static_cast<char>(c.unicode());
        if (Name.isEmpty()) Name = "Sans";
        Ready = true;
    }

    // How much closer the pair stands than its two advances: negative draws it together.
    double Kern(int first, int second) {
        const quint16 key = static_cast<quint16>(first * 256 + second);
        const auto found = Kerning.constFind(key);
        if (found != Kerning.constEnd()) return *found;
        const QFontMetricsF metrics(Reference());
        const QChar pair[2] = {QChar(WinAnsiChar(first)), QChar(WinAnsiChar(second))};
        const double kern =
            metrics.horizontalAdvance(QString(pair, 2)) * 1000 / ReferencePx - Widths[first] - Widths[second];
        // Below a thousandth of the em it is rounding, not kerning.
        const double kept = std::abs(kern) < 1 ? 0.0 : kern;
        Kerning.insert(key, kept);
        return kept;
    }
};

// One set of numbers for the whole program: the face does not change while it runs.
TFaceMetrics& Face() {
    static TFaceMetrics face;
    return face;
}

// Appends a number with at most three decimals, no exponent, no trailing zeros.
void PutNumber(QByteArray& out, double value) {
    long long n = std::llround(value * 1000);
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* p = end;
    const bool negative = n < 0;
    if (negative) n = -n;
    long long fraction = n % 1000;
    n /= 1000;
    if (fraction != 0) {
        int digits = 3;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        for (int i = 0; i < digits; ++i) {
            *--p = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (negative) *--p = '-';
    out.append(p, end - p);
}

// A byte of a literal string, escaped where it would end or break the string.
void PutStringByte(QByteArray& out, char byte) {
    if (byte == '(' || byte == ')' || byte == '\\') out += '\\';
    out += byte;
}

// A colour as the three components of an rg or RG operator.
void PutColour(QByteArray& out, const QColor& colour) {
    PutNumber(out, colour.redF());
    out += ' ';
    PutNumber(out, colour.greenF());
    out += ' ';
    PutNumber(out, colour.blueF());
}

// Paints the sheets as page content streams. Whatever it cannot show exactly clears
// Exact(); the content is then of no use and the caller writes the document otherwise.
class TPdfEngine : public QPaintEngine {
public:
    TPdfEngine() : QPaintEngine(AllFeatures) {}

    bool Exact() const { return FExact; }
    // The content streams, one per page so far and the one being painted.
    const std::vector<QByteArray>& Pages() const { return FPages; }

    void NewPage() {
        FPages.emplace_back();
        FPages.back().reserve(16384);
        // A new content stream starts from the PDF's default graphics state.
        FFill = FStroke = QColor(Qt::black);
        FLineWidth = 1;
        FCap = FJoin = 0;
        FMiterLimit = 10;
    }

    bool begin(QPaintDevice*) override {
        if (FPages.empty()) NewPage();
        setActive(true);
        return true;
    }
    bool end() override {
        setActive(false);
        return true;
    }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) FPen = state.pen();
        if (dirty & DirtyBrush) FBrush = state.brush();
        if (dirty & DirtyTransform) FTransform = state.transform();
        if (dirty & DirtyOpacity) FOpacity = state.opacity();
        if (dirty & DirtyCompositionMode) FComposition = state.compositionMode();
        if (dirty & DirtyBackgroundMode) FBackgroundMode = state.backgroundMode();
        if (dirty & (DirtyClipPath | DirtyClipRegion))
            FClipped = state.clipOperation() != Qt::NoClip;
        if (dirty & DirtyClipEnabled) FClipped = FClipped && state.isClipEnabled();
    }

    void drawRects(const QRectF* rects, int count) override {
        const char* op = Operator(true);
        if (!op) return;
        QByteArray& out = FPages.back();
        for (int i = 0; i < count; ++i) {
            const QRectF r = rects[i].normalized();
            PutPoint(out, r.bottomLeft());
            out += ' ';
            PutNumber(out, r.width() * Scale());
            out += ' ';
            PutNumber(out, r.height() * Scale());
            out += " re\n";
        }
        out += op;
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF r(rects[i]);
            drawRects(&r, 1);
        }
    }

    void drawLines(const QLineF* lines, int count) override {
        if (!Drawable() || !SetStroke()) return;
        QByteArray& out = FPages.back();
        for (int i = 0; i < count; ++i) {
            MoveTo(out, lines[i].p1());
            LineTo(out, lines[i].p2());
        }
        out += "S\n";
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            const QLineF l(lines[i]);
            drawLines(&l, 1);
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count < 2) return;
        const bool open = mode == PolylineMode;
        const char* op = Operator(!open, mode == OddEvenMode);
        if (!op) return;
        QByteArray& out = FPages.back();
        MoveTo(out, points[0]);
        for (int i = 1; i < count; ++i) LineTo(out, points[i]);
        if (!open) out += "h\n";
        out += op;
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        std::vector<QPointF> converted(points, points + count);
        drawPolygon(converted.data(), count, mode);
    }

    void drawPath(const QPainterPath& path) override {
        const char* op = Operator(true, path.fillRule() == Qt::OddEvenFill);
        if (!op) return;
        QByteArray& out = FPages.back();
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (e.isMoveTo()) {
                MoveTo(out, e);
            } else if (e.isLineTo()) {
                LineTo(out, e);
            } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
                for (int k = 0; k < 3; ++k) {
                    PutPoint(out, path.elementAt(i + k));
                    out += ' ';
                }
                out += "c\n";
                i += 2;
            }
        }
        out += op;
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        if (!Drawable() || FPen.style() == Qt::NoPen) return;
        if (item.renderFlags() & QTextItem::RightToLeft) return Inexact();
        const QString text = item.text();
        TFaceMetrics& face = Face();
        face.Prepare();
        const int pixelSize = PixelSize(item.font());
        if (pixelSize <= 0) return Inexact();

        // The texts as shown with the face's own advances and kerning, which must add up
        // to the width the layout measured.
        QByteArray shown;
        shown.reserve(text.size() * 2 + 8);
        shown += '[';
        shown += '(';
        double thousandths = 0;
        int previous = -1;
        for (const QChar c : text) {
            const int byte = WinAnsiByte(c.unicode());
            if (byte < 0) return Inexact();
            if (previous >= 0) {
                const double kern = face.Kern(previous, byte);
                if (kern != 0) {
                    shown += ')';
                    PutNumber(shown, -kern);
                    shown += '(';
                    thousandths += kern;
                }
            }
            PutStringByte(shown, static_cast<char>(byte));
            thousandths += face.Widths[byte];
            previous = byte;
        }
        shown += ")]TJ\n";
        const double widthPx = thousandths * pixelSize / 1000;
        if (std::abs(widthPx - item.width()) > (text.size() + 1) / 32.0) return Inexact();

        if (!SetFill(FPen.color())) return;
        QByteArray& out = FPages.back();
        out += "BT /F1 ";
        PutNumber(out, pixelSize * Scale());
        out += " Tf ";
        PutPoint(out, p);
        out += " Td ";
        out += shown;
        out += "ET\n";
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { Inexact(); }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        Inexact();
    }
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override { Inexact(); }

private:
    bool FExact = true;
    std::vector<QByteArray> FPages;
    QPen FPen;
    QBrush FBrush;
    QTransform FTransform;
    qreal FOpacity = 1;
    QPainter::CompositionMode FComposition = QPainter::CompositionMode_SourceOver;
    Qt::BGMode FBackgroundMode = Qt::TransparentMode;
    bool FClipped = false;
    // What the current content stream has set, to leave out repeats.
    QColor FFill, FStroke;
    double FLineWidth = 1;
    int FCap = 0, FJoin = 0;
    double FMiterLimit = 10;
    // Pixel sizes of the fonts met so far, or 0 for a font of another face.
    std::vector<std::pair<QFont, int>> FFonts;

    void Inexact() { FExact = false; }

    double Scale() const { return FTransform.m11() * PointsPerDot; }
    double X(double x) const { return (FTransform.m11() * x + FTransform.dx()) * PointsPerDot; }
    double Y(double y) const {
        return PaperHeightPt - (FTransform.m22() * y + FTransform.dy()) * PointsPerDot;
    }
    // A point on the page as the two operands of a PDF operator.
    void PutPoint(QByteArray& out, const QPointF& p) const {
        PutNumber(out, X(p.x()));
        out += ' ';
        PutNumber(out, Y(p.y()));
    }
    void MoveTo(QByteArray& out, const QPointF& p) const {
        PutPoint(out, p);
        out += " m\n";
    }
    void LineTo(QByteArray& out, const QPointF& p) const {
        PutPoint(out, p);
        out += " l\n";
    }

    // Whether the state leaves shapes as they are: translation and an even scale, opaque,
    // unclipped, painted over what is there.
    bool Drawable() {
        if (!FExact) return false;
        const bool plain = FTransform.type() <= QTransform::TxScale && FTransform.m11() == FTransform.m22() &&
                           FTransform.m11() > 0 && FOpacity == 1 && !FClipped &&
                           FBackgroundMode == Qt::TransparentMode &&
                           (FComposition == QPainter::CompositionMode_SourceOver ||
                            FComposition == QPainter::CompositionMode_Source);
        if (!plain) Inexact();
        return plain;
    }

    // The painting operator for the pen and brush (filled shapes only when Fillable), with
    // their colours and line set; null when nothing is to be painted or it cannot be.
    const char* Operator(bool Fillable, bool OddEven = false) {
        if (!Drawable()) return nullptr;
        const bool fill = Fillable && FBrush.style() != Qt::NoBrush;
        const bool stroke = FPen.style() != Qt::NoPen;
        if (fill && FBrush.style() != Qt::SolidPattern) {
            Inexact();
            return nullptr;
        }
        if (fill && !SetFill(FBrush.color())) return nullptr;
        if (stroke && !SetStroke()) return nullptr;
        if (fill && stroke) return OddEven ? "B*\n" : "B\n";
        if (fill) return OddEven ? "f*\n" : "f\n";
        if (stroke) return "S\n";
        return nullptr;
    }

    bool SetFill(const QColor& colour) {
        if (colour.alpha() != 255) {
            Inexact();
            return false;
        }
        if (colour.rgb() != FFill.rgb()) {
            QByteArray& out = FPages.back();
            PutColour(out, colour);
            out += " rg\n";
            FFill = colour;
        }
        return true;
    }

    // Sets the pen's colour, width, caps and joins; false when it is not a solid pen.
    bool SetStroke() {
        const QColor colour = FPen.color();
        if (FPen.style() != Qt::SolidLine || FPen.brush().style() != Qt::SolidPattern ||
            colour.alpha() != 255) {
            Inexact();
            return false;
        }
        QByteArray& out = FPages.back();
        if (colour.rgb() != FStroke.rgb()) {
            PutColour(out, colour);
            out += " RG\n";
            FStroke = colour;
        }
        // A cosmetic pen keeps its width in device pixels whatever the scale; width 0 is
        // the thinnest line the output can show, in PDF as in Qt.
        const double width = FPen.widthF() * (FPen.isCosmetic() ? PointsPerDot : Scale());
        if (width != FLineWidth) {
            PutNumber(out, width);
            out += " w\n";
            FLineWidth = width;
        }
        const int cap = FPen.capStyle() == Qt::RoundCap ? 1 : FPen.capStyle() == Qt::SquareCap ? 2 : 0;
        if (cap != FCap) {
            PutNumber(out, cap);
            out += " J\n";
            FCap = cap;
        }
        const int join = FPen.joinStyle() == Qt::RoundJoin ? 1 : FPen.joinStyle() == Qt::BevelJoin ? 2 : 0;
        if (join != FJoin) {
            PutNumber(out, join);
            out += " j\n";
            FJoin = join;
        }
        // Qt limits a miter's reach from the corner in pen widths, PDF the miter's
        // length to the line width: twice as much.
        const double miter = std::max(1.0, 2 * FPen.miterLimit());
        if (join == 0 && miter != FMiterLimit) {
            PutNumber(out, miter);
            out += " M\n";
            FMiterLimit = miter;
        }
        return true;
    }

    // The pixel size the font is laid out at, when it is the report face upright and of
    // normal weight; 0 otherwise.
    int PixelSize(const QFont& font) {
        for (const auto& [known, size] : FFonts)
            if (known == font) return size;
        const QFontInfo info(font);
        const bool plain = info.family() == Face().Family && info.style() == QFont::StyleNormal &&
                           info.weight() == QFont::Normal && font.letterSpacing() == 0 &&
                           font.wordSpacing() == 0 && font.stretch() <= QFont::Unstretched;
        const int size = plain ? info.pixelSize() : 0;
        FFonts.emplace_back(font, size);
        return size;
    }
};

// A4 sheets for TPdfEngine, measured as QPdfWriter's pages are.
class TPdfSheets : public QPaintDevice {
public:
    TPdfEngine Engine;

    QPaintEngine* paintEngine() const override { return const_cast<TPdfEngine*>(&Engine); }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return qRound(TReportPage::PaperWidthMm / 25.4 * DotsPerInch);
        case PdmHeight:
            return qRound(TReportPage::PaperHeightMm / 25.4 * DotsPerInch);
        case PdmWidthMM:
            return qRound(TReportPage::PaperWidthMm);
        case PdmHeightMM:
            return qRound(TReportPage::PaperHeightMm);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return DotsPerInch;
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }
};

// A PDF string of a text: literal when it is plain ASCII, else UTF-16 with its mark.
QByteArray TextString(const QString& text) {
    bool ascii = true;
    for (const QChar c : text) ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7f;
    if (ascii) {
        QByteArray out = "(";
        for (const QChar c : text) PutStringByte(out, static_cast<char>(c.unicode()));
        return out + ')';
    }
    QByteArray units;
    for (const QChar c : text) {
        units += static_cast<char>(c.unicode() >> 8);
        units += static_cast<char>(c.unicode() & 0xff);
    }
    return "<FEFF" + units.toHex().toUpper() + '>';
}

// "D:YYYYMMDDHHmmSS" and the offset from UTC, the PDF's form of a date.
QByteArray PdfDate(const QDateTime& when) {
    QByteArray date = "D:" + when.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    const int offsetMin = when.offsetFromUtc() / 60;
    if (offsetMin == 0) return date + 'Z';
    date += offsetMin < 0 ? '-' : '+';
    const int minutes = std::abs(offsetMin);
    return date + QByteArray::number(minutes / 60).rightJustified(2, '0') + '\'' +
           QByteArray::number(minutes % 60).rightJustified(2, '0') + '\'';
}

QByteArray FallbackDocument(const TReportRenderer& report, const TReportPdf& options) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(options.Title);
        writer.setCreator(options.Creator);
        report.Render(writer);
    }
    return buffer.data();
}

// The file around the page contents: catalogue, page tree, font, information, pages
// and the cross-reference table.
QByteArray Assemble(const TPdfEngine& engine, const TReportPdf& options) {
    const auto& pages = engine.Pages();
    const int pageCount = static_cast<int>(pages.size());
    enum { Catalog = 1, PageTree, Font, Info, Descriptor, FirstPage };
    const int objectCount = FirstPage + 2 * pageCount;
    std::vector<qsizetype> offsets(objectCount, 0);

    qsizetype size = 4096;
    for (const QByteArray& content : pages) size += content.size() + 256;
    QByteArray out;
    out.reserve(size);
    out += "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    const auto begin = [&](int object) {
        offsets[object] = out.size();
        out += QByteArray::number(object);
        out += " 0 obj\n";
    };

    begin(Catalog);
    out += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    begin(PageTree);
    out += "<< /Type /Pages /Count ";
    out += QByteArray::number(pageCount);
    out += " /Kids [";
    for (int i = 0; i < pageCount; ++i) {
        out += QByteArray::number(FirstPage + 2 * i);
        out += " 0 R ";
    }
    out += "] >>\nendobj\n";
    // The face the layout was measured with, named and described but not embedded:
    // readers take that face or a sans-serif one like it, place each glyph by the face's
    // own advances, and give the texts boxes of its ascent and descent.
    TFaceMetrics& face = Face();
    face.Prepare();
    begin(Font);
    out += "<< /Type /Font /Subtype /TrueType /BaseFont /";
    out += face.Name;
    out += " /Encoding /WinAnsiEncoding /FontDescriptor 5 0 R\n/FirstChar 32 /LastChar 255 /Widths [";
    for (int b = 32; b < 256; ++b) {
        PutNumber(out, face.Widths[b]);
        out += b % 16 == 15 ? '\n' : ' ';
    }
    out += "] >>\nendobj\n";
    begin(Descriptor);
    out += "<< /Type /FontDescriptor /FontName /";
    out += face.Name;
    out += " /Flags 32 /ItalicAngle 0 /StemV 80\n/FontBBox [";
    for (const double v : {face.Left, face.Descent, face.Right, face.Ascent}) {
        PutNumber(out, std::round(v));
        out += ' ';
    }
    out += "] /Ascent ";
    PutNumber(out, std::round(face.Ascent));
    out += " /Descent ";
    PutNumber(out, std::round(face.Descent));
    out += " /CapHeight ";
    PutNumber(out, std::round(face.CapHeight));
    out += " >>\nendobj\n";
    begin(Info);
    out += "<< /Title ";
    out += TextString(options.Title);
    out += " /Creator ";
    out += TextString(options.Creator);
    out += " /CreationDate (";
    out += PdfDate(QDateTime::currentDateTime());
    out += ") >>\nendobj\n";

    for (int i = 0; i < pageCount; ++i) {
        const int page = FirstPage + 2 * i;
        begin(page);
        out += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
        PutNumber(out, PaperWidthPt);
        out += ' ';
        PutNumber(out, PaperHeightPt);
        out += "]\n/Resources << /Font << /F1 3 0 R >> /ProcSet [/PDF /Text] >> /Contents ";
        out += QByteArray::number(page + 1);
        out += " 0 R >>\nendobj\n";
        begin(page + 1);
        out += "<< /Length ";
        out += QByteArray::number(pages[i].size());
        out += " >>\nstream\n";
        out += pages[i];
        out += "\nendstream\nendobj\n";
    }

    const qsizetype xref = out.size();
    out += "xref\n0 ";
    out += QByteArray::number(objectCount);
    out += "\n0000000000 65535 f \n";
    for (int object = 1; object < objectCount; ++object) {
        out += QByteArray::number(offsets[object]).rightJustified(10, '0');
        out += " 00000 n \n";
    }
    out += "trailer\n<< /Size ";
    out += QByteArray::number(objectCount);
    out += " /Root 1 0 R /Info 4 0 R >>\nstartxref\n";
    out += QByteArray::number(xref);
    out += "\n%%EOF\n";
    return out;
}

}  // namespace

QByteArray TReportPdf::Document(const TReportRenderer& report) const {
    TPdfSheets sheets;
    QPainter painter;
    if (!painter.begin(&sheets)) throw std::runtime_error("The report could not be printed.");
    // Positions are measured from the paper's margins, as on the printed page.
    const double dotsPerMm = DotsPerInch / 25.4;
    painter.translate(TReportPage::MarginMm * dotsPerMm, TReportPage::MarginMm * dotsPerMm);
    for (int i = 0; i < report.SheetCount() && sheets.Engine.Exact(); ++i) {
        if (i > 0) sheets.Engine.NewPage();
        report.PaintSheet(painter, i, dotsPerMm);
    }
    painter.end();
    if (!sheets.Engine.Exact()) return FallbackDocument(report, *this);
    return Assemble(sheets.Engine, *this);
}

void TReportPdf::Write(const TReportRenderer& report, QIODevice& device) const {
    const QByteArray document = Document(report);
    if (device.write(document) != document.size())
        throw std::runtime_error("The report could not be written.");
}

void TReportPdf::Save(const TReportRenderer& report, const QString& FileName) const {
    const QByteArray document = Document(report);
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit())
        throw std::runtime_error(("Cannot write the file " + FileName).toStdString());
}
