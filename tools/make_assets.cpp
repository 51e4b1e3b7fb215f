// Draws every picture the game shows (board, stones, banners, window icon)
// and writes them into the folder named on the command line.
// Everything is procedural and seeded by constants, so a rerun on the same
// system gives the same bytes and the committed files can be reproduced.

#include <QColor>
#include <QConicalGradient>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <utility>

#include "ui/board_geometry.h"

namespace {

namespace geometry = torvane::geometry;

// The board picture fills the square board control.
constexpr int kBoardSide = geometry::kBoardRect.width();
constexpr double kHalfStone = geometry::kStoneSize / 2.0;
// The grooves between points, as pairs of end points: each row with the
// column through its first point, then the two diagonals.
constexpr std::array<std::pair<torvane::PointIndex, torvane::PointIndex>, 8> kGameLines{
    {{0, 2}, {0, 6}, {3, 5}, {1, 7}, {6, 8}, {2, 8}, {0, 8}, {2, 6}}};
constexpr int kIconSide = 256;

constexpr int kFrameWidth = 13;
constexpr double kStoneRadius = 20.5;
// Each point is a round seat; the seat is drawn into the stone pictures too,
// so it must cover the whole stone box (whose corners lie 34.65 px out).
constexpr double kSeatRadius = 36.5;
constexpr double kHollowRadius = 25.5;
constexpr double kGrooveWidth = 4.0;
// Banner text is laid out large and then scaled to fit the plate.
constexpr int kTextDesignPixels = 100;

struct WoodTone {
    QColor light;
    QColor dark;
    std::uint32_t seed;
};

const WoodTone kSurfaceWood{QColor(236, 196, 134), QColor(190, 132, 70), 7};
const WoodTone kFrameWood{QColor(150, 88, 44), QColor(84, 42, 18), 19};
const QColor kGrooveDark(104, 62, 28);
const QColor kGrooveLit(250, 222, 176);

struct StoneTone {
    QColor shine;
    QColor body;
    QColor edge;
};

const StoneTone kGreenStone{QColor(196, 255, 178), QColor(38, 166, 74), QColor(6, 64, 28)};
const StoneTone kBlueStone{QColor(190, 222, 255), QColor(44, 108, 218), QColor(10, 30, 104)};

struct BannerStyle {
    QString text;
    QColor top;
    QColor bottom;
    QColor border;
    QColor textTop;
    QColor textBottom;
    QColor outline;
    bool festive;
};

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

// ---------------------------------------------------------------- wood

// How dark the grain is at a point: 'along' follows the fibres, 'across'
// crosses the growth rings.
double grainDarkness(double along, double across, std::uint32_t seed) {
    const double warp = 16.0 * fractalNoise(along * 0.006, across * 0.018, seed);
    const double ring = 0.5 + 0.5 * std::sin((across + warp) * 0.40);
    const double fibre = valueNoise(along * 0.05, across * 0.9, seed + 101);
    return 0.62 * std::pow(ring, 6.0) + 0.38 * fibre * fibre;
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

// The playing surface: grain running left to right, lit a touch in the middle.
QRgb surfacePixel(int x, int y, double scale) {
    const double middle = kBoardSide / 2.0;
    const double dist = std::hypot(x + 0.5 - middle, y + 0.5 - middle) / middle;
    return woodColour(kSurfaceWood, x * scale, y * scale, 1.05 - 0.10 * dist * dist);
}

// The mitred frame: each side has its grain along its own length and is
// lit as a rounded moulding with the light from the top left.
QRgb framePixel(int x, int y) {
    const int last = kBoardSide - 1;
    const std::array<int, 4> gaps{y, last - x, last - y, x};  // top, right, bottom, left
    const auto side = std::min_element(gaps.begin(), gaps.end()) - gaps.begin();
    constexpr std::array<double, 4> kSideLight{1.22, 0.86, 0.74, 1.08};
    const double depth = (*std::min_element(gaps.begin(), gaps.end()) + 0.5) / kFrameWidth;
    const double light = kSideLight[side] * (0.82 + 0.26 * std::sin(depth * std::numbers::pi));
    const bool horizontal = side % 2 == 0;
    return horizontal ? woodColour(kFrameWood, x, y, light) : woodColour(kFrameWood, y + 640.0, x, light);
}

QImage boardWood() {
    QImage image(kBoardSide, kBoardSide, QImage::Format_RGB32);
    for (int y = 0; y < kBoardSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kBoardSide; ++x) {
            const int gap = std::min({x, y, kBoardSide - 1 - x, kBoardSide - 1 - y});
            line[x] = gap < kFrameWidth ? framePixel(x, y) : surfacePixel(x, y, 1.0);
        }
    }
    return image;
}

// ---------------------------------------------------------------- board

// The middle of the stone box on point p, where its seat is drawn.
QPointF seatCentre(torvane::PointIndex p) { return QRectF(geometry::OnBoardPicture(geometry::StoneRect(p))).center(); }

// A line carved into the wood: the lower-right wall catches the light.
void paintGroove(QPainter& p, const QLineF& line, double width) {
    const double lit = width * 0.3;
    p.setPen(QPen(kGrooveLit, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(line.translated(lit, lit));
    p.setPen(QPen(kGrooveDark, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(line);
}

void paintGameLines(QPainter& p) {
    for (const auto& [from, to] : kGameLines) paintGroove(p, QLineF(seatCentre(from), seatCentre(to)), kGrooveWidth);
}

// The round seat of one point: a flat inlaid disc with a carved hollow.
// It only depends on its centre, so the stone pictures can repeat it
// exactly and sit on the board without a visible box.
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

void paintFrameEdges(QPainter& p) {
    const QRectF outer(0.5, 0.5, kBoardSide - 1.0, kBoardSide - 1.0);
    const QRectF inner = outer.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 18, 6, 200), 1.0));
    p.drawRect(outer);
    p.drawLine(outer.topLeft(), inner.topLeft());
    p.drawLine(outer.topRight(), inner.topRight());
    p.drawLine(outer.bottomLeft(), inner.bottomLeft());
    p.drawLine(outer.bottomRight(), inner.bottomRight());
    // The surface lies a little below the frame: shade its top and left rim.
    p.setPen(QPen(QColor(60, 30, 10, 170), 2.0));
    p.drawLine(inner.topLeft() + QPointF(1, 1), inner.topRight() + QPointF(0, 1));
    p.drawLine(inner.topLeft() + QPointF(1, 1), inner.bottomLeft() + QPointF(1, 0));
    p.setPen(QPen(QColor(255, 232, 190, 150), 1.0));
    p.drawLine(inner.bottomLeft(), inner.bottomRight());
    p.drawLine(inner.topRight(), inner.bottomRight());
}

QImage board() {
    QImage image = boardWood();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintFrameEdges(p);
    paintGameLines(p);
    for (torvane::PointIndex point = 0; point < torvane::kPointCount; ++point) paintSeat(p, seatCentre(point));
    return image;
}

// ---------------------------------------------------------------- stones

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

QImage stone(const StoneTone& tone) {
    QImage image(geometry::kStoneSize, geometry::kStoneSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kHalfStone, kHalfStone);
    paintSeat(p, centre);
    paintStone(p, centre - QPointF(0.5, 0.5), kStoneRadius, tone);
    return image;
}

// ---------------------------------------------------------------- banners

QFont bannerFont() {
    const QStringList families = QFontDatabase::families();
    QFont font;
    if (families.contains(QStringLiteral("RocknRoll One"))) {
        font.setFamily(QStringLiteral("RocknRoll One"));
    } else {
        std::fprintf(stderr, "RocknRoll One is missing, using Noto Sans CJK JP\n");
        font.setFamily(QStringLiteral("Noto Sans CJK JP"));
        font.setWeight(QFont::Bold);
    }
    font.setPixelSize(kTextDesignPixels);
    return font;
}

QPainterPath bannerOutline(const QRectF& plate) {
    QPainterPath path;
    path.addRoundedRect(plate, 15.0, 15.0);
    return path;
}

// A soft drop shadow made of stacked, fading rounded rectangles.
void paintBannerShadow(QPainter& p, const QRectF& plate) {
    constexpr int kLayers = 5;
    p.setPen(Qt::NoPen);
    for (int layer = kLayers; layer > 0; --layer) {
        p.setBrush(QColor(30, 14, 0, 26));
        const QRectF blurred =
            plate.translated(2.5, 3.5).adjusted(-layer * 0.6, -layer * 0.6, layer * 0.6, layer * 0.6);
        p.drawRoundedRect(blurred, 15.0 + layer, 15.0 + layer);
    }
}

void paintBannerPlate(QPainter& p, const QRectF& plate, const BannerStyle& style) {
    const QPainterPath outline = bannerOutline(plate);
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, style.top);
    fill.setColorAt(1.0, style.bottom);
    p.fillPath(outline, fill);

    // A glossy sheen over the upper half.
    QLinearGradient gloss(plate.topLeft(), QPointF(plate.left(), plate.center().y()));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 90));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 10));
    const QRectF upper(plate.left() + 4, plate.top() + 4, plate.width() - 8, plate.height() / 2 - 4);
    p.fillPath(bannerOutline(upper), gloss);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(style.border, 3.0));
    p.drawPath(outline);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1.0));
    p.drawRoundedRect(plate.adjusted(3.5, 3.5, -3.5, -3.5), 12.0, 12.0);
}

// A four-pointed twinkle.
void paintSparkle(QPainter& p, QPointF at, double size) {
    QPainterPath star;
    const double waist = size * 0.22;
    star.moveTo(at + QPointF(0, -size));
    star.quadTo(at + QPointF(waist, -waist), at + QPointF(size, 0));
    star.quadTo(at + QPointF(waist, waist), at + QPointF(0, size));
    star.quadTo(at + QPointF(-waist, waist), at + QPointF(-size, 0));
    star.quadTo(at + QPointF(-waist, -waist), at + QPointF(0, -size));
    p.fillPath(star, QColor(255, 252, 220));
}

// Rays from the middle and a few sparkles, for the winner.
void paintFestivity(QPainter& p, const QRectF& plate) {
    constexpr int kRays = 16;
    QConicalGradient rays(plate.center(), 0.0);
    for (int ray = 0; ray < kRays; ++ray) {
        const double start = static_cast<double>(ray) / kRays;
        rays.setColorAt(start, QColor(255, 250, 200, 70));
        rays.setColorAt(start + 0.5 / kRays, QColor(255, 250, 200, 0));
    }
    p.save();
    p.setClipPath(bannerOutline(plate.adjusted(3, 3, -3, -3)));
    p.fillRect(plate, rays);
    p.restore();
    const std::array<std::array<double, 3>, 6> sparkles{
        {{14, 18, 6}, {24, 50, 4}, {10, 38, 3}, {168, 15, 4}, {170, 42, 6.5}, {160, 55, 3}}};
    for (const auto& s : sparkles) paintSparkle(p, plate.topLeft() + QPointF(s[0], s[1]), s[2]);
}

void paintBannerText(QPainter& p, const QRectF& plate, const BannerStyle& style, const QFont& font) {
    QPainterPath text;
    text.addText(0, 0, font, style.text);
    const QRectF bounds = text.boundingRect();
    const double scale = std::min((plate.width() - 30) / bounds.width(), (plate.height() - 20) / bounds.height());
    QTransform fit;
    fit.translate(plate.center().x(), plate.center().y());
    fit.scale(scale, scale);
    fit.translate(-bounds.center().x(), -bounds.center().y());
    const QPainterPath placed = fit.map(text);

    p.fillPath(placed.translated(2.0, 2.5), QColor(0, 0, 0, 90));
    p.strokePath(placed, QPen(style.outline, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QRectF box = placed.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, style.textTop);
    fill.setColorAt(1.0, style.textBottom);
    p.fillPath(placed, fill);
}

// The banner keeps the board around its rounded corners, so it blends in
// where the window shows it.
QImage banner(const QImage& boardImage, const BannerStyle& style, const QFont& font) {
    QImage image = boardImage.copy(geometry::OnBoardPicture(geometry::kBannerRect));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate = QRectF(image.rect()).adjusted(3.0, 3.0, -5.0, -6.0);
    paintBannerShadow(p, plate);
    paintBannerPlate(p, plate, style);
    if (style.festive) paintFestivity(p, plate);
    paintBannerText(p, plate, style, font);
    return image;
}

const BannerStyle kStartStyle{
    QStringLiteral("ゲーム開始！"), QColor(70, 96, 196),   QColor(30, 40, 110), QColor(244, 196, 64),
    QColor(255, 255, 255),          QColor(255, 236, 160), QColor(20, 24, 70),  false};
const BannerStyle kWinStyle{QStringLiteral("勝ち！"), QColor(244, 120, 40), QColor(196, 24, 30), QColor(255, 216, 80),
                            QColor(255, 255, 210),    QColor(255, 200, 40), QColor(120, 10, 10), true};
const BannerStyle kLoseStyle{QStringLiteral("負け…"), QColor(120, 130, 146), QColor(64, 70, 86), QColor(40, 44, 54),
                             QColor(226, 232, 240),   QColor(160, 170, 186), QColor(34, 38, 50), false};

// ---------------------------------------------------------------- icon

QImage iconWood(int side, double scale) {
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) line[x] = surfacePixel(x, y, scale);
    }
    return image;
}

void paintIconBoard(QPainter& p, const QRectF& slab) {
    QPainterPath outline;
    outline.addRoundedRect(slab, 34.0, 34.0);
    p.fillPath(outline.translated(0, 6), QColor(30, 14, 0, 110));
    p.save();
    p.setClipPath(outline);
    p.drawImage(slab.topLeft(), iconWood(static_cast<int>(slab.width()), 1.3));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFrameWood.light, 12.0));
    p.drawRoundedRect(slab.adjusted(6, 6, -6, -6), 28.0, 28.0);
    p.setPen(QPen(kFrameWood.dark, 2.0));
    p.drawPath(outline);
}

QImage icon() {
    QImage image(kIconSide, kIconSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintIconBoard(p, QRectF(8, 6, kIconSide - 16, kIconSide - 18));
    constexpr std::array<double, 3> kAt{56, 127, 198};
    constexpr double kLine = 6.0;
    for (double at : kAt) {
        paintGroove(p, QLineF(kAt[0], at, kAt[2], at), kLine);
        paintGroove(p, QLineF(at, kAt[0], at, kAt[2]), kLine);
    }
    paintGroove(p, QLineF(kAt[0], kAt[0], kAt[2], kAt[2]), kLine);
    paintGroove(p, QLineF(kAt[2], kAt[0], kAt[0], kAt[2]), kLine);
    constexpr double kSeatScale = 0.6;
    for (double y : kAt) {
        for (double x : kAt) {
            p.save();
            p.translate(x, y);
            p.scale(kSeatScale, kSeatScale);
            paintSeat(p, QPointF(0, 0));
            p.restore();
        }
    }
    constexpr double kIconStone = 27.0;
    paintStone(p, QPointF(kAt[0], kAt[2]), kIconStone, kGreenStone);
    paintStone(p, QPointF(kAt[1], kAt[1]), kIconStone, kGreenStone);
    paintStone(p, QPointF(kAt[2], kAt[0]), kIconStone, kBlueStone);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------- output

bool save(const QImage& image, const QDir& folder, const char* name) {
    const bool bitmap = QString::fromLatin1(name).endsWith(QLatin1String(".bmp"));
    const QImage out = bitmap ? image.convertToFormat(QImage::Format_RGB888) : image;
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (out.save(path, bitmap ? "BMP" : "PNG")) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const QImage boardImage = board();
    const QFont font = bannerFont();
    const std::array<std::pair<const char*, QImage>, 7> pictures{{
        {"3by3box.bmp", boardImage},
        {"green.bmp", stone(kGreenStone)},
        {"blue.bmp", stone(kBlueStone)},
        {"start.bmp", banner(boardImage, kStartStyle, font)},
        {"win.bmp", banner(boardImage, kWinStyle, font)},
        {"lose.bmp", banner(boardImage, kLoseStyle, font)},
        {"torvane.png", icon()},
    }};
    bool ok = true;
    for (const auto& [name, image] : pictures) ok = save(image, folder, name) && ok;
    return ok ? 0 : 1;
}
