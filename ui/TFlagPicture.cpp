#include "ui/TFlagPicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace {

constexpr int PoleWidth = 4;
constexpr int PictureWidth = 96;
constexpr int PictureHeight = 66;
const QRectF FlagArea(PoleWidth + 2, 6, 84, 42);  // 2:1 for the Union Flag

// A band of the given width along the line from a to b, as a polygon.
QPolygonF Band(QPointF a, QPointF b, double width, double offset = 0)
{
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF n(-d.y() / length, d.x() / length);  // unit normal
    const QPointF lo = n * (offset - width / 2);
    const QPointF hi = n * (offset + width / 2);
    return QPolygonF({a + lo, b + lo, b + hi, a + hi});
}

// Union Flag on a 60 x 30 grid: saltires 6 (white) and 2 (red, counterchanged: narrow white 1, red 2, broad white 3), cross 10 and 6.
void DrawUnionFlag(QPainter& p)
{
    const QColor blue(0x01, 0x21, 0x69), red(0xC8, 0x10, 0x2E);
    p.fillRect(QRectF(0, 0, 60, 30), blue);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(Band({0, 0}, {60, 30}, 6));
    p.drawPolygon(Band({0, 30}, {60, 0}, 6));
    // Each red arm lies on the same rotational side of its white arm.
    p.setBrush(red);
    const QPointF centre(30, 15);
    for (const QPointF corner : {QPointF(0, 0), QPointF(60, 0), QPointF(60, 30), QPointF(0, 30)})
        p.drawPolygon(Band(centre, corner, 2, -1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(25, 0, 10, 30));
    p.drawRect(QRectF(0, 10, 60, 10));
    p.setBrush(red);
    p.drawRect(QRectF(27, 0, 6, 30));
    p.drawRect(QRectF(0, 12, 60, 6));
}

// Swedish flag on a 16 x 10 grid: cross 2 wide, 5 from the hoist.
void DrawSwedishFlag(QPainter& p)
{
    const QColor blue(0x00, 0x6A, 0xA7), yellow(0xFE, 0xCC, 0x00);
    p.fillRect(QRectF(0, 0, 16, 10), blue);
    p.fillRect(QRectF(5, 0, 2, 10), yellow);
    p.fillRect(QRectF(0, 4, 16, 2), yellow);
}

}  // namespace

QPixmap FlagPicture(TFlag Flag)
{
    QPixmap picture(PictureWidth, PictureHeight);
    picture.fill(QColor(0xD8, 0xE8, 0xF4));  // sky
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Pole with its finial.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x80, 0x80, 0x80));
    p.drawRect(QRectF(1, 4, PoleWidth, PictureHeight - 4));
    p.setBrush(QColor(0xC8, 0xA0, 0x30));
    p.drawEllipse(QPointF(1 + PoleWidth / 2.0, 3), 3, 3);

    p.save();
    p.translate(FlagArea.topLeft());
    p.setClipRect(QRectF(QPointF(0, 0), FlagArea.size()));
    if (Flag == TFlag::UnitedKingdom) {
        p.scale(FlagArea.width() / 60, FlagArea.height() / 30);
        DrawUnionFlag(p);
    } else {
        const double height = FlagArea.width() * 10 / 16;
        p.setClipRect(QRectF(0, 0, FlagArea.width(), height));
        p.scale(FlagArea.width() / 16, height / 10);
        DrawSwedishFlag(p);
    }
    p.restore();
    return picture;
}
