#include "rules/winning_line.h"

#include <algorithm>

namespace torvane {

bool IsWinningLine(std::array<PointIndex, 3> points) {
    std::sort(points.begin(), points.end());
    return std::find(kWinningLines.begin(), kWinningLines.end(), points) != kWinningLines.end();
}

bool HasThreeInRow(const std::array<PixelPos, kStoneCount>& stones) {
    std::array<PointIndex, kStoneCount> points{};
    for (int i = 0; i < kStoneCount; ++i) {
        const auto p = PointAt(stones[i]);
        if (!p) return false;
        points[i] = *p;
    }
    return IsWinningLine(points);
}

}  // namespace torvane
