#pragma once
// Where the main window shows the board, its points, the stones and the
// banner, in pixels of the window's client area; and the same boxes in pixels
// of the board picture, so that the pictures drawn for them line up with it.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <array>
#include <cstdint>
#include <optional>

#include "rules/board.h"

namespace torvane::geometry {

struct PixelPos {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(PixelPos, PixelPos) = default;
};

// Left and top of a stone standing on each point: the nine X values, then
// the nine Y values, so the Y of point p is element 9 + p. The gaps are 92
// and 93 pixels; stones are placed at, and compared with, exactly these.
inline constexpr std::array<std::int16_t, 2 * kPointCount> PointXY = {
    40, 132, 225, 40,  132, 225, 40,  132, 225,  // X
    40, 40,  40,  132, 132, 132, 225, 225, 225,  // Y
};

constexpr PixelPos pointPos(PointIndex p) { return {PointXY[p], PointXY[kPointCount + p]}; }

// The point a stone whose top-left corner is exactly at `pos` stands on.
constexpr std::optional<PointIndex> pointAt(PixelPos pos) {
    for (PointIndex k = 0; k < kPointCount; ++k) {
        if (pointPos(k) == pos) return k;
    }
    return std::nullopt;
}

// A dropped stone's corner counts as on a point when it is less than this
// many pixels from the point's position on each axis: a square zone. The
// points lie 92 pixels apart or more, so at most one zone holds a corner.
inline constexpr int kDropTolerance = 20;

constexpr std::optional<PointIndex> nearPoint(PixelPos pos) {
    const auto near = [](int a, int b) { return a - b < kDropTolerance && b - a < kDropTolerance; };
    for (PointIndex k = 0; k < kPointCount; ++k) {
        if (near(pos.x, pointPos(k).x) && near(pos.y, pointPos(k).y)) return k;
    }
    return std::nullopt;
}

inline constexpr int kStoneSize = 49;
// The ball in a stone's picture, within its box.
inline constexpr double kStoneRadius = 20.5;
inline constexpr QPointF kStoneCentre(kStoneSize / 2.0 - 0.5, kStoneSize / 2.0 - 0.5);

// The board control, once sized, and its sunken frame: the board picture is
// drawn inside the frame, so the picture's origin lies one frame width in.
inline constexpr QRect kBoardRect(8, 8, 300, 300);
inline constexpr int kBoardFrameWidth = 1;
inline constexpr QPoint kBoardPictureOrigin = kBoardRect.topLeft() + QPoint(kBoardFrameWidth, kBoardFrameWidth);

// The start, win and lose banner where it is shown.
inline constexpr QRect kBannerRect(55, 115, 190, 70);

// The box of a stone standing on point p.
constexpr QRect stoneRect(PointIndex p) { return {pointPos(p).x, pointPos(p).y, kStoneSize, kStoneSize}; }

// The point whose stone box holds `pos`, a spot of the window, if any.
inline std::optional<PointIndex> pointUnder(QPoint pos) {
    for (PointIndex k = 0; k < kPointCount; ++k) {
        if (stoneRect(k).contains(pos)) return k;
    }
    return std::nullopt;
}

// A stone taken by a click or a key stands this much higher than its point
// until it is placed, so that it shows as picked up.
inline constexpr QPoint kLiftedOffset(0, -6);

// A box of the window in pixels of the board picture shown under it.
constexpr QRect onBoardPicture(const QRect& box) { return box.translated(-kBoardPictureOrigin); }

}  // namespace torvane::geometry
