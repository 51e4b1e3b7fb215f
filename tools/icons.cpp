#include "icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

#include "icon_design.h"

namespace torvane::assets {

namespace {

using namespace icon;

// ---------------------------------------------------------------- detailed

// The grained surface under the slab, one texel per icon pixel.
QImage slabWood(const QRectF& slab, double scale) {
    constexpr double kGrain = 1.3;
    const int side = static_cast<int>(std::ceil(slab.width() * scale));
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) line[x] = surfacePixel((x + 0.5) / scale - 0.5, (y + 0.5) / scale - 0.5, kGrain);
    }
    return image;
}

void paintSlab(QPainter& p, double scale) {
    QPainterPath outline;
    outline.addRoundedRect(kSlab, kSlabRadius, kSlabRadius);
    p.fillPath(outline.translated(0, kShadowDrop), kShadow);
    p.save();
    p.setClipPath(outline);
    p.scale(1.0 / scale, 1.0 / scale);
    p.drawImage(kSlab.topLeft() * scale, slabWood(kSlab, scale));
    p.restore();
    const double inset = kRimWidth / 2.0;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFrameWood.light, kRimWidth));
    p.drawRoundedRect(kSlab.adjusted(inset, inset, -inset, -inset), kSlabRadius - inset, kSlabRadius - inset);
    p.setPen(QPen(kFrameWood.dark, kEdgeWidth));
    p.drawPath(outline);
}

void paintDetailed(QPainter& p, int side) {
    const double scale = side / kSide;
    p.scale(scale, scale);
    paintSlab(p, scale);
    paintGrooves(p, gridLines(kAt), kLineWidth);
    for (double y : kAt) {
        for (double x : kAt) {
            p.save();
            p.translate(x, y);
            p.scale(kSeatScale, kSeatScale);
            paintSeat(p, QPointF(0, 0));
            p.restore();
        }
    }
    for (const Stone& stone : kStones)
        paintStone(p, QPointF(kAt[stone.column], kAt[stone.row]), kStoneRadius, stone.tone);
}

// ---------------------------------------------------------------- plain

// Lengths of the plain icon. Lines stay sharp: a line an odd number of
// pixels wide runs through pixel centres, an even one along pixel edges,
// and the points lie a whole number of pixels apart.
struct Plain {
    explicit Plain(int side)
        : edge(std::max(1.0, std::round(side / 24.0))),
          line(std::max(1.0, std::round(side / 16.0))),
          stone(side * 0.145),
          corner(side * 0.18) {
        const double gap = std::round(side / 4.0);
        const double shift = static_cast<int>(line) % 2 == 1 ? 0.5 : 0.0;
        const double first = std::round(side / 2.0 - gap - shift) + shift;
        at = {first, first + gap, first + 2 * gap};
    }
    double edge;
    double line;
    double stone;
    double corner;
    std::array<double, 3> at;
};

void paintPlainStone(QPainter& p, QPointF centre, const Plain& plain, const StoneTone& tone) {
    const double r = plain.stone;
    QRadialGradient body(centre, r, centre - QPointF(0.35, 0.4) * r);
    body.setColorAt(0.0, tone.shine);
    body.setColorAt(0.6, tone.body);
    body.setColorAt(1.0, tone.body.darker(125));
    p.setBrush(body);
    p.setPen(QPen(tone.edge, plain.edge));
    p.drawEllipse(centre, r, r);
}

void paintPlain(QPainter& p, int side) {
    const Plain plain(side);
    const double inset = plain.edge / 2.0;
    const QRectF slab = QRectF(0, 0, side, side).adjusted(inset, inset, -inset, -inset);
    QLinearGradient wood(slab.topLeft(), slab.bottomLeft());
    wood.setColorAt(0.0, kSurfaceWood.light);
    wood.setColorAt(1.0, kFlatWoodLow);
    p.setBrush(wood);
    p.setPen(QPen(kFrameWood.dark, plain.edge));
    p.drawRoundedRect(slab, plain.corner, plain.corner);
    p.setPen(QPen(kGrooveDark, plain.line, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF& line : gridLines(plain.at)) p.drawLine(line);
    for (const Stone& stone : kStones)
        paintPlainStone(p, QPointF(plain.at[stone.column], plain.at[stone.row]), plain, stone.tone);
}

}  // namespace

QImage iconPicture(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (side <= kSimpleUpTo) {
        paintPlain(p, side);
    } else {
        paintDetailed(p, side);
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace torvane::assets
