#pragma once
// The nine board points, their screen positions, adjacency and the mirror
// mapping between the two players' views of the board.
//
// Points are numbered 0..8 row by row as the local player sees the board:
// 0 top left, 8 bottom right. The local stones start on 6, 7, 8 and the
// rival's on 0, 1, 2. The rival numbers the same points from the other side,
// so its point p is our point 8 - p.

#include <array>
#include <cstdint>
#include <optional>

namespace torvane {

using PointIndex = std::int16_t;

inline constexpr int kPointCount = 9;
inline constexpr int kStoneCount = 3;

// Left/top pixel coordinate of a stone standing on a point, per column and
// per row. The gaps are 92 and 93 pixels on purpose: these exact values are
// what stones are placed at and compared with.
inline constexpr std::array<int, 3> kPointCoord = {40, 132, 225};

// The stone box size, in pixels.
inline constexpr int kStoneSize = 49;

struct PixelPos {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(PixelPos, PixelPos) = default;
};

// X and Y of every point: the nine X values followed by the nine Y values,
// so the Y of point p is element 9 + p.
inline constexpr std::array<std::int16_t, 2 * kPointCount> PointXY = {
    40, 132, 225, 40, 132, 225, 40, 132, 225,
    40, 40, 40, 132, 132, 132, 225, 225, 225,
};

constexpr PixelPos PointPos(PointIndex p) { return {PointXY[p], PointXY[kPointCount + p]}; }

constexpr bool IsPoint(int p) { return p >= 0 && p < kPointCount; }
constexpr bool IsStone(int stone) { return stone >= 0 && stone < kStoneCount; }

// Where stone i of each side stands at the start of a game.
constexpr PointIndex MyStartPoint(int stone) { return static_cast<PointIndex>(6 + stone); }
constexpr PointIndex YourStartPoint(int stone) { return static_cast<PointIndex>(2 - stone); }

// Which points are free at the start of every game: those no stone starts on.
inline constexpr std::array<bool, kPointCount> kStartEmpty = [] {
    std::array<bool, kPointCount> empty{};
    empty.fill(true);
    for (int i = 0; i < kStoneCount; ++i) empty[MyStartPoint(i)] = empty[YourStartPoint(i)] = false;
    return empty;
}();

// True when `to` is one step from `from`, straight or diagonal. Never true
// for the point itself or for an index outside 0..8.
bool IsAdjacent(int from, int to);

// The rival's point p as the local player numbers it: 8 - p, or 0 for an
// index outside 0..8.
PointIndex MirrorPoint(int p);

// The point a stone whose top-left corner is exactly at `pos` stands on.
std::optional<PointIndex> PointAt(PixelPos pos);

// The board state the windows share: which points are free and the point the
// stone being dragged was lifted from.
struct BoardState {
    std::array<bool, kPointCount> PointEmpty = kStartEmpty;
    PointIndex PickedPoint = 0;

    void ResetForGame() { PointEmpty = kStartEmpty; }
};

}  // namespace torvane
