#include "rules/board.h"

#include <algorithm>

namespace torvane {

namespace {

// Neighbours of every point, one row per point.
constexpr std::array<std::array<std::int8_t, 8>, kPointCount> kNeighbours = {{
    {1, 3, 4, -1, -1, -1, -1, -1},
    {0, 2, 3, 4, 5, -1, -1, -1},
    {1, 4, 5, -1, -1, -1, -1, -1},
    {0, 1, 4, 6, 7, -1, -1, -1},
    {0, 1, 2, 3, 5, 6, 7, 8},
    {1, 2, 4, 7, 8, -1, -1, -1},
    {3, 4, 7, -1, -1, -1, -1, -1},
    {3, 4, 5, 6, 8, -1, -1, -1},
    {4, 5, 7, -1, -1, -1, -1, -1},
}};

}  // namespace

bool isAdjacent(int from, int to) {
    if (!isPoint(from) || !isPoint(to)) return false;
    const auto& row = kNeighbours[from];
    return std::find(row.begin(), row.end(), to) != row.end();
}

PointIndex mirrorPoint(int p) { return isPoint(p) ? static_cast<PointIndex>(kPointCount - 1 - p) : PointIndex{0}; }

}  // namespace torvane
