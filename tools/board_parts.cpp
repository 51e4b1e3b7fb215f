#include "board_parts.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

#include "ui/board_geometry.h"

namespace torvane::assets {

namespace {

// ---------------------------------------------------------------- noise

double latticeValue(int x, int y, std::uint32_t seed) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFFu) / 65535.0;
}

double smoothStep(double t) { return t * t * (3.0 - 2.0 * t); }

double valueNoise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double tx = smoothStep(x - fx);
    const double ty = smoothStep(y - fy);
    const double top = std::lerp(latticeValue(ix, iy, seed), latticeValue(ix + 1, iy, seed), tx);
    const double bottom = std::lerp(latticeValue(ix, iy + 1, seed), latticeValue(ix + 1, iy + 1, seed), tx);
    return std::lerp(top, bottom, ty);
}

double fractalNoise(double x, double y, std::uint32_t seed) {
    constexpr int kOctaves = 4;
    double sum = 0.0;
    double amplitude = 0.5;
    for (int octave = 0; octave < kOctaves; ++octave) {
        sum += amplitude * valueNoise(x, y, seed + static_cast<std::uint32_t>(octave));
        x *= 2.0;
        y *= 2.0;
        amplitude *= 0.5;
    }
    return sum;
}

// How dark the grain is at a point.
double grainDarkness(double along, double across, std::uint32_t seed) {
    const double warp = 16.0 * fractalNoise(along * 0.006, across * 0.018, seed);
    const double ring = 0.5 + 0.5 * std::sin((across + warp) * 0.40);
    const double fibre = valueNoise(along * 0.05, across * 0.9, seed + 101);
    return 0.62 * std::pow(ring, 6.0) + 0.38 * fibre * fibre;
}

void paintStoneShadow(QPainter& p, QPointF centre, double radius) {
    const double spread = radius * 1.16;
    const QPointF at = centre + QPointF(0.10, 0.14) * radius;
    QRadialGradient shadow(at, spread);
    shadow.setColorAt(0.70, QColor(50, 24, 0, 130));
    shadow.setColorAt(1.0, QColor(50, 24, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(at, spread, spread);
}

}  // namespace

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(std::lerp(a.redF(), b.redF(), t), std::lerp(a.greenF(), b.greenF(), t),
                            std::lerp(a.blueF(), b.blueF(), t));
}

QRgb woodColour(const WoodTone& tone, double along, double across, double light) {
    const double t = 0.8 * grainDarkness(along, across, tone.seed);
    const auto channel = [&](int from, int to) {
        const double value = std::lerp(static_cast<double>(from), static_cast<double>(to), t);
        return std::clamp(static_cast<int>(std::lround(value * light)), 0, 255);
    };
    return qRgb(channel(tone.light.red(), tone.dark.red()), channel(tone.light.green(), tone.dark.green()),
                channel(tone.light.blue(), tone.dark.blue()));
}

QRgb surfacePixel(double x, double y, double grain) {
    const double middle = geometry::kBoardRect.width() / 2.0;
    const double dist = std::hypot(x + 0.5 - middle, y + 0.5 - middle) / middle;
    return woodColour(kSurfaceWood, x * grain, y * grain, 1.05 - 0.10 * dist * dist);
}

void paintGrooves(QPainter& p, std::span<const QLineF> lines, double width) {
    const double lit = width * kGrooveLitShift;
    p.setPen(QPen(kGrooveLit, width, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF& line : lines) p.drawLine(line.translated(lit, lit));
    p.setPen(QPen(kGrooveDark, width, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF& line : lines) p.drawLine(line);
}

void paintSeat(QPainter& p, QPointF centre) {
    // Turned on a lathe: faint concentric rings on the flat part.
    constexpr int kRings = 9;
    const double flatFrom = kHollowRadius / kSeatRadius;
    QRadialGradient disc(centre, kSeatRadius);
    for (int ring = 0; ring <= kRings; ++ring) {
        const double at = flatFrom + (1.0 - flatFrom) * ring / kRings;
        disc.setColorAt(at, ring % 2 == 0 ? QColor(230, 190, 128) : QColor(218, 174, 110));
    }
    p.setPen(QPen(QColor(90, 52, 20, 150), 1.0));
    p.setBrush(disc);
    p.drawEllipse(centre, kSeatRadius, kSeatRadius);

    // A raised, bevelled edge lit from the top left.
    const QPointF corner(kSeatRadius * 0.7, kSeatRadius * 0.7);
    QLinearGradient bevel(centre - corner, centre + corner);
    bevel.setColorAt(0.0, QColor(255, 236, 200, 220));
    bevel.setColorAt(1.0, QColor(120, 72, 30, 200));
    p.setPen(QPen(QBrush(bevel), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, kSeatRadius - 1.5, kSeatRadius - 1.5);

    const QPointF wall(kHollowRadius * 0.7, kHollowRadius * 0.7);
    QLinearGradient walls(centre - wall, centre + wall);
    walls.setColorAt(0.0, QColor(128, 80, 38));
    walls.setColorAt(1.0, QColor(252, 226, 182));
    p.setPen(Qt::NoPen);
    p.setBrush(walls);
    p.drawEllipse(centre, kHollowRadius, kHollowRadius);

    const double floor = kHollowRadius - 2.5;
    QRadialGradient bottom(centre + QPointF(1.0, 1.0), floor, centre + QPointF(4.0, 5.0));
    bottom.setColorAt(0.0, QColor(220, 174, 110));
    bottom.setColorAt(1.0, QColor(182, 128, 68));
    p.setBrush(bottom);
    p.drawEllipse(centre + QPointF(0.8, 0.8), floor, floor);
}

void paintStone(QPainter& p, QPointF centre, double radius, const StoneTone& tone) {
    paintStoneShadow(p, centre, radius);
    QRadialGradient body(centre, radius, centre - QPointF(0.38, 0.42) * radius);
    body.setColorAt(0.0, tone.shine);
    body.setColorAt(0.45, tone.body);
    body.setColorAt(1.0, tone.edge);
    p.setBrush(body);
    p.setPen(QPen(tone.edge.darker(130), std::max(1.0, radius / 20.0)));
    p.drawEllipse(centre, radius, radius);

    // Light bouncing back up from the board onto the lower half.
    const QPointF bounceAt = centre + QPointF(0.0, 0.58) * radius;
    QRadialGradient bounce(bounceAt, radius * 0.55);
    QColor glow = tone.shine;
    glow.setAlpha(80);
    bounce.setColorAt(0.0, glow);
    glow.setAlpha(0);
    bounce.setColorAt(1.0, glow);
    p.setPen(Qt::NoPen);
    p.setBrush(bounce);
    p.drawEllipse(bounceAt, radius * 0.62, radius * 0.32);

    const QPointF shineAt = centre - QPointF(0.30, 0.40) * radius;
    QRadialGradient shine(shineAt, radius * 0.42);
    shine.setColorAt(0.0, QColor(255, 255, 255, 240));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawEllipse(shineAt, radius * 0.44, radius * 0.30);
}

}  // namespace torvane::assets
