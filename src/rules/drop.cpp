#include "rules/drop.h"

#include <cstdlib>

namespace torvane {

std::optional<PointIndex> DropTarget(PointIndex picked, PixelPos dropped,
                                     const std::array<bool, kPointCount>& pointEmpty) {
    for (PointIndex k = 0; k < kPointCount; ++k) {
        const PixelPos point = PointPos(k);
        const bool near = std::abs(dropped.x - point.x) < kDropTolerance &&
                          std::abs(dropped.y - point.y) < kDropTolerance;
        if (near && pointEmpty[k] && IsAdjacent(picked, k)) return k;
    }
    return std::nullopt;
}

}  // namespace torvane
