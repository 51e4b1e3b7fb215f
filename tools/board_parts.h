#pragma once
// The parts of the board that the game's bitmaps and the icons draw alike:
// the wood, the carved grooves, the round seats and the stones. Lengths are
// in pixels of the board picture; a painter scaled up draws them larger.

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <cstdint>
#include <span>

class QPainter;

namespace torvane::assets {

struct WoodTone {
    QColor light;
    QColor dark;
    std::uint32_t seed;
};

inline const WoodTone kSurfaceWood{QColor(236, 196, 134), QColor(190, 132, 70), 7};
inline const WoodTone kFrameWood{QColor(150, 88, 44), QColor(84, 42, 18), 19};
inline const QColor kGrooveDark(104, 62, 28);
inline const QColor kGrooveLit(250, 222, 176);

struct StoneTone {
    QColor shine;
    QColor body;
    QColor edge;
};

inline const StoneTone kGreenStone{QColor(196, 255, 178), QColor(38, 166, 74), QColor(6, 64, 28)};
inline const StoneTone kBlueStone{QColor(190, 222, 255), QColor(44, 108, 218), QColor(10, 30, 104)};

// Each point's seat is drawn into the stone pictures too, so it must cover
// the whole stone box (whose corners lie 34.65 px out).
inline constexpr double kSeatRadius = 36.5;
inline constexpr double kHollowRadius = 25.5;

// The colour `t` of the way from a to b.
QColor mix(const QColor& a, const QColor& b, double t);

// Wood at a point: 'along' follows the fibres, 'across' crosses the growth
// rings; 'light' brightens (above 1) or darkens it.
QRgb woodColour(const WoodTone& tone, double along, double across, double light);

// The playing surface at (x, y) of the board picture, its grain `grain`
// times as fine, lit a touch in the middle.
QRgb surfacePixel(double x, double y, double grain);

// Lines carved into the wood: the lower-right wall of each catches the light,
// seen as a lit line this share of the width down and right of the dark one.
// Every lit wall is drawn before any dark line, so where two grooves cross
// neither shows a lit wall over the other's floor.
inline constexpr double kGrooveLitShift = 0.3;
void paintGrooves(QPainter& p, std::span<const QLineF> lines, double width);

// The round seat of one point: a flat inlaid disc with a carved hollow.
// It only depends on its centre, so the stone pictures can repeat it
// exactly and sit on the board without a visible box.
void paintSeat(QPainter& p, QPointF centre);

// A glossy stone with its shadow on the board.
void paintStone(QPainter& p, QPointF centre, double radius, const StoneTone& tone);

}  // namespace torvane::assets
