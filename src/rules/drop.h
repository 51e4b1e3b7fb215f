#pragma once
// Where a dropped stone may land.

#include <optional>

#include "rules/board.h"

namespace torvane {

// How close, in pixels on each axis, a dropped stone's corner must come to a
// point's position to count as dropped on it. The zone is a square and the
// bound is strict.
inline constexpr int kDropTolerance = 20;

// The point a stone lifted from `picked` and dropped with its top-left corner
// at `dropped` lands on: a free neighbour of `picked` that is near enough.
// No value means the drop is against the rules.
std::optional<PointIndex> DropTarget(PointIndex picked, PixelPos dropped,
                                     const std::array<bool, kPointCount>& pointEmpty);

}  // namespace torvane
