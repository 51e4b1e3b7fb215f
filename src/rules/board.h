#pragma once
// The nine board points, adjacency and the mirror mapping between the two
// players' views of the board.
//
// Points are numbered 0..8 row by row as the local player sees the board:
// 0 top left, 8 bottom right. The local stones start on 6, 7, 8 and the
// rival's on 0, 1, 2. The rival numbers the same points from the other side,
// so its point p is our point 8 - p.

#include <array>
#include <cstdint>

namespace torvane {

using PointIndex = std::int16_t;

inline constexpr int kRowLength = 3;
inline constexpr int kPointCount = kRowLength * kRowLength;
inline constexpr int kStoneCount = 3;

constexpr bool isPoint(int p) { return p >= 0 && p < kPointCount; }
constexpr bool isStone(int stone) { return stone >= 0 && stone < kStoneCount; }

// Where stone i of each side stands at the start of a game.
constexpr PointIndex ownStartPoint(int stone) { return static_cast<PointIndex>(6 + stone); }
constexpr PointIndex rivalStartPoint(int stone) { return static_cast<PointIndex>(2 - stone); }

// Which points are free at the start of every game: those no stone starts on.
inline constexpr std::array<bool, kPointCount> kStartEmpty = [] {
    std::array<bool, kPointCount> empty{};
    empty.fill(true);
    for (int i = 0; i < kStoneCount; ++i) empty[ownStartPoint(i)] = empty[rivalStartPoint(i)] = false;
    return empty;
}();

// True when `to` is one step from `from`, straight or diagonal. Never true
// for the point itself or for an index outside 0..8.
bool isAdjacent(int from, int to);

// The rival's point p as the local player numbers it: 8 - p, or 0 for an
// index outside 0..8.
PointIndex mirrorPoint(int p);

}  // namespace torvane
