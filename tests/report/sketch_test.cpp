// Pixel-exact pictures of the layer sketch, described row by row.
#include <QTest>

#include <climits>
#include <random>
#include <vector>

#include "calc/slab.h"
#include "report/TSketchSurface.h"

namespace {

constexpr QRgb K = qRgb(0, 0, 0);
constexpr QRgb W = qRgb(255, 255, 255);
constexpr QRgb R = qRgb(255, 0, 0);
constexpr QRgb G = qRgb(128, 128, 128);
constexpr QRgb B = qRgb(0, 0, 255);

// Rows First..Last across columns 0..167: Edge at columns 0 and 167, Inside between.
struct Rows {
    int First;
    int Last;
    QRgb Inside;
    QRgb Edge = K;
};

// Compares the whole picture; Column168 is the colour of the column no rectangle reaches.
void ExpectPicture(const QImage& image, const std::vector<Rows>& rows, QRgb column168) {
    QImage expected(TSketchSurface::WidthPx, TSketchSurface::HeightPx, QImage::Format_RGB32);
    expected.fill(qRgb(1, 2, 3));  // shows up where the description has a gap
    for (const Rows& r : rows)
        for (int y = r.First; y <= r.Last; ++y)
            for (int x = 0; x < 168; ++x)
                expected.setPixel(x, y, x == 0 || x == 167 ? r.Edge : r.Inside);
    for (int y = 0; y < TSketchSurface::HeightPx; ++y) expected.setPixel(168, y, column168);
    for (int y = 0; y < TSketchSurface::HeightPx; ++y)
        for (int x = 0; x < TSketchSurface::WidthPx; ++x)
            if (image.pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x).arg(y)
                                     .arg(image.pixel(x, y) & 0xffffff, 6, 16, QChar('0'))
                                     .arg(expected.pixel(x, y) & 0xffffff, 6, 16, QChar('0'))));
}

// The plainest fill there is: every pixel 4-connected to the seed through pixels that
// were not black before the fill.
QImage ReferenceFill(QImage image, int x0, int y0, QRgb colour) {
    const QImage before = image;
    if (before.pixel(x0, y0) == K) return image;
    std::vector<bool> seen(image.width() * image.height());
    std::vector<QPoint> pending{{x0, y0}};
    seen[y0 * image.width() + x0] = true;
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        image.setPixel(p, colour);
        for (const QPoint n : {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
            if (!before.rect().contains(n) || seen[n.y() * image.width() + n.x()] || before.pixel(n) == K)
                continue;
            seen[n.y() * image.width() + n.x()] = true;
            pending.push_back(n);
        }
    }
    return image;
}

}  // namespace

class SketchTest : public QObject {
    Q_OBJECT
private slots:
    void defaultsWithoutFloorStructure() {
        TSketchSurface s;
        DrawLayerSketch(s, 0.1f, 0.1f, false);
        ExpectPicture(s.Image(), {{0, 0, K}, {1, 58, G}, {59, 60, K}, {61, 118, B},
                                  {119, 119, K}, {120, 120, W, W}}, W);
        QCOMPARE(s.FillColour(), B);
    }
    void defaultsWithFloorStructureLoseTheLowestOutline() {
        TSketchSurface s;
        DrawLayerSketch(s, 0.1f, 0.1f, true);
        ExpectPicture(s.Image(), {{0, 0, K}, {1, 4, R}, {5, 6, K}, {7, 62, G},
                                  {63, 64, K}, {65, 120, B}}, W);
    }
    void layersAddingUpToTheFullHeight() {
        TSketchSurface s;
        DrawLayerSketch(s, 0.2f, 0.1f, false);
        ExpectPicture(s.Image(), {{0, 0, K}, {1, 38, G}, {39, 40, K}, {41, 119, B},
                                  {120, 120, K}}, W);
    }
    void noInsulationDrawsConcreteOnly() {
        TSketchSurface s;
        DrawLayerSketch(s, 0.0f, 0.1f, false);
        ExpectPicture(s.Image(), {{0, 0, K}, {1, 119, G}, {120, 120, K}}, W);
    }
    void seedOnTheOutlineLeavesTheRectanglesColour() {
        // Floor band of 3 rows: its one inner row keeps the colour the rectangle was
        // painted with, white on a fresh surface and the carried blue afterwards.
        TSketchSurface s;
        DrawLayerSketch(s, 0.3f, 0.1f, true);
        const std::vector<Rows> rest{{2, 3, K}, {4, 31, G}, {32, 33, K}, {34, 120, B}};
        std::vector<Rows> fresh{{0, 0, K}, {1, 1, W}};
        fresh.insert(fresh.end(), rest.begin(), rest.end());
        ExpectPicture(s.Image(), fresh, W);
        DrawLayerSketch(s, 0.3f, 0.1f, true);
        std::vector<Rows> again{{0, 0, K}, {1, 1, B}};
        again.insert(again.end(), rest.begin(), rest.end());
        ExpectPicture(s.Image(), again, W);
    }
    void seedBelowAnAllOutlineBandFloodsTheRest() {
        TSketchSurface s;
        DrawLayerSketch(s, 0.3f, 0.2f, true);
        ExpectPicture(s.Image(), {{0, 2, K}, {3, 47, G}, {48, 49, K}, {50, 118, B},
                                  {119, 119, K}, {120, 120, R, R}}, R);
    }
    void secondSketchKeepsTheOldPictureOutsideItsRectangles() {
        TSketchSurface s;
        DrawLayerSketch(s, 0.2f, 0.1f, false);  // leaves an outline on row 120
        DrawLayerSketch(s, 0.1f, 0.1f, false);
        ExpectPicture(s.Image(), {{0, 0, K}, {1, 58, G}, {59, 60, K}, {61, 118, B},
                                  {119, 120, K}}, W);
    }
    void rectanglesAreClippedToThePicture() {
        TSketchSurface s;
        s.SetFillColour(G);
        s.Rectangle(0, INT_MIN, 168, INT_MAX);  // side outlines only
        ExpectPicture(s.Image(), {{0, 120, G}}, W);
        s.Rectangle(0, 200, 168, 100);  // upside down: nothing
        s.Rectangle(0, 50, 168, 50);    // no height: nothing
        s.Rectangle(INT_MIN, -5, INT_MAX, -1);
        ExpectPicture(s.Image(), {{0, 120, G}}, W);
        s.BorderFill(70, INT_MAX);
        s.BorderFill(INT_MIN, 3);
        ExpectPicture(s.Image(), {{0, 120, G}}, W);
    }
    void hugeHeightsStayInsideThePicture() {
        // Thicknesses that nearly cancel: heights of billions of pixels.
        TSketchSurface s;
        DrawLayerSketch(s, 0.0f, -0.01f, true);
        for (int y = 0; y < TSketchSurface::HeightPx; ++y)
            QCOMPARE(s.Image().pixel(0, y), K);
        DrawLayerSketch(s, 1.0000001f, -1.0f, false);
        DrawLayerSketch(s, -1.0f, 1.0000001f, false);
        for (int y = 0; y < TSketchSurface::HeightPx; ++y)
            for (int x = 0; x < TSketchSurface::WidthPx; ++x)
                QVERIFY(QList<QRgb>({K, W, R, G, B}).contains(s.Image().pixel(x, y)));
    }
    void borderFillMatchesAPlainFloodFillOnMazes() {
        // Scattered black pixels and bars leave winding regions with pockets on both
        // sides of a row; some fills use black or a colour already there.
        std::mt19937 random(20070627);
        const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const QRgb colours[] = {R, G, B, K, W};
        for (int round = 0; round < 60; ++round) {
            TSketchSurface s;
            const int density = 200 + below(2000);
            for (int i = 0; i < density; ++i) {
                const int x = below(TSketchSurface::WidthPx);
                const int y = below(TSketchSurface::HeightPx);
                s.SetFillColour(colours[below(5)]);
                if (i % 7 == 0) s.Rectangle(x, y, x + 1 + below(40), y + 3);  // a bar with an inside row
                else s.Rectangle(x, y, x + 1, y + 1);
            }
            for (int fill = 0; fill < 4; ++fill) {
                const int x = below(TSketchSurface::WidthPx);
                const int y = below(TSketchSurface::HeightPx);
                s.SetFillColour(colours[below(5)]);
                const QImage expected = ReferenceFill(s.Image(), x, y, s.FillColour());
                s.BorderFill(x, y);
                QVERIFY2(s.Image() == expected, qPrintable(QStringLiteral("round %1, fill %2 at (%3, %4)")
                                                               .arg(round).arg(fill).arg(x).arg(y)));
            }
        }
    }
    void faultsDrawNothing() {
        TSketchSurface s;
        QVERIFY_THROWS_EXCEPTION(FloatingPointError, DrawLayerSketch(s, 0.1f, -0.1f, false));
        QCOMPARE(s.Image(), TSketchSurface().Image());
        QCOMPARE(s.FillColour(), W);
    }
};

QTEST_GUILESS_MAIN(SketchTest)
#include "sketch_test.moc"
