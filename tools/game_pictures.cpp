#include "game_pictures.h"

#include <QConicalGradient>
#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "board_parts.h"
#include "ui/bitmaps.h"
#include "ui/board_geometry.h"

namespace torvane::assets {

namespace {

// The board picture fills the square board control.
constexpr int kBoardSide = geometry::kBoardRect.width();
constexpr double kHalfStone = geometry::kStoneSize / 2.0;
// The grooves between points, as pairs of end points: each row with the
// column through its first point, the two long diagonals, then the four short
// ones between the middles of the sides. Together they join every two points
// a stone may step between.
constexpr std::array<std::pair<PointIndex, PointIndex>, 12> kGameLines{
    {{0, 2}, {0, 6}, {3, 5}, {1, 7}, {6, 8}, {2, 8}, {0, 8}, {2, 6}, {1, 3}, {1, 5}, {3, 7}, {5, 7}}};

constexpr int kFrameWidth = 13;
constexpr double kGrooveWidth = 4.0;
// Banner text is laid out large and then scaled to fit the plate.
constexpr int kTextDesignPixels = 100;

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

// A box of the board picture in pixels of the same picture drawn larger.
QRect scaled(const QRect& box, int scale) { return {box.topLeft() * scale, box.size() * scale}; }

// Where the middle of pixel `at` of a picture drawn `scale` times larger
// lies in the board picture.
double unscaled(int at, int scale) { return (at + 0.5) / scale - 0.5; }

// ---------------------------------------------------------------- board

// The mitred frame: each side has its grain along its own length and is
// lit as a rounded moulding with the light from the top left.
QRgb framePixel(int x, int y, int scale) {
    const int last = kBoardSide * scale - 1;
    const std::array<int, 4> gaps{y, last - x, last - y, x};  // top, right, bottom, left
    const auto side = std::min_element(gaps.begin(), gaps.end()) - gaps.begin();
    constexpr std::array<double, 4> kSideLight{1.22, 0.86, 0.74, 1.08};
    const double depth = (*std::min_element(gaps.begin(), gaps.end()) + 0.5) / scale / kFrameWidth;
    const double light = kSideLight[side] * (0.82 + 0.26 * std::sin(depth * std::numbers::pi));
    const double along = unscaled(x, scale);
    const double across = unscaled(y, scale);
    return side % 2 == 0 ? woodColour(kFrameWood, along, across, light)
                         : woodColour(kFrameWood, across + 640.0, along, light);
}

QImage boardWood(int scale) {
    const int side = kBoardSide * scale;
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const int gap = std::min({x, y, side - 1 - x, side - 1 - y});
            line[x] = gap < kFrameWidth * scale ? framePixel(x, y, scale)
                                                : surfacePixel(unscaled(x, scale), unscaled(y, scale), 1.0);
        }
    }
    return image;
}

// The middle of the stone box on point p, where its seat is drawn.
QPointF seatCentre(PointIndex p) { return QRectF(geometry::onBoardPicture(geometry::stoneRect(p))).center(); }

void paintGameLines(QPainter& p) {
    std::array<QLineF, kGameLines.size()> lines;
    std::ranges::transform(kGameLines, lines.begin(),
                           [](const auto& ends) { return QLineF(seatCentre(ends.first), seatCentre(ends.second)); });
    paintGrooves(p, lines, kGrooveWidth);
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

QImage board(int scale) {
    QImage image = boardWood(scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paintFrameEdges(p);
    paintGameLines(p);
    for (PointIndex point = 0; point < kPointCount; ++point) paintSeat(p, seatCentre(point));
    return image;
}

// ---------------------------------------------------------------- stones

QImage stone(const StoneTone& tone, int scale) {
    QImage image(geometry::kStoneSize * scale, geometry::kStoneSize * scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QPointF centre(kHalfStone, kHalfStone);
    paintSeat(p, centre);
    paintStone(p, geometry::kStoneCentre, geometry::kStoneRadius, tone);
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
QImage banner(const QImage& boardImage, const BannerStyle& style, const QFont& font, int scale) {
    const QRect box = geometry::onBoardPicture(geometry::kBannerRect);
    QImage image = boardImage.copy(scaled(box, scale));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QRectF plate = QRectF(QPointF(0, 0), box.size()).adjusted(3.0, 3.0, -5.0, -6.0);
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
// Neither warm like the win nor cold like the loss: a quiet sage green with a
// silver rim.
const BannerStyle kDrawStyle{
    QStringLiteral("引き分け"), QColor(150, 174, 150), QColor(78, 102, 84), QColor(214, 220, 210),
    QColor(255, 255, 250),      QColor(208, 222, 206), QColor(30, 52, 38),  false};

}  // namespace

QList<std::pair<QString, QImage>> gamePictures(int scale) {
    const QImage boardImage = board(scale);
    const QFont font = bannerFont();
    return {
        {bitmap::kBoard, boardImage},
        {bitmap::kGreen, stone(kGreenStone, scale)},
        {bitmap::kBlue, stone(kBlueStone, scale)},
        {bitmap::kStart, banner(boardImage, kStartStyle, font, scale)},
        {bitmap::kWin, banner(boardImage, kWinStyle, font, scale)},
        {bitmap::kLose, banner(boardImage, kLoseStyle, font, scale)},
        {bitmap::kDraw, banner(boardImage, kDrawStyle, font, scale)},
    };
}

}  // namespace torvane::assets
