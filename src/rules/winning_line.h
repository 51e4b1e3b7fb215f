#pragma once
// The winning-line test for the local player's three stones.

#include <array>

#include "rules/board.h"

namespace torvane {

// The seven lines that win. The bottom row (6, 7, 8), where the player's own
// stones start, is not among them.
inline constexpr std::array<std::array<PointIndex, 3>, 7> kWinningLines = {{
    {0, 1, 2},
    {3, 4, 5},
    {0, 3, 6},
    {1, 4, 7},
    {2, 5, 8},
    {0, 4, 8},
    {2, 4, 6},
}};

// True when the three points, in any order, fill a winning line.
bool isWinningLine(std::array<PointIndex, 3> points);

}  // namespace torvane
