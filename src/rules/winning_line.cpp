#include "rules/winning_line.h"

#include <algorithm>

namespace torvane {

bool isWinningLine(std::array<PointIndex, 3> points) {
    std::sort(points.begin(), points.end());
    return std::find(kWinningLines.begin(), kWinningLines.end(), points) != kWinningLines.end();
}

}  // namespace torvane
