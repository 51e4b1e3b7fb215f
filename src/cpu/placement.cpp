#include "cpu/placement.h"

#include "rules/winning_line.h"

namespace torvane {

Placement PlacementOf(const BoardModel& board) {
    Placement placement;
    for (int i = 0; i < kStoneCount; ++i) {
        placement.own |= PointBit(board.OwnStone(i));
        placement.rival |= PointBit(board.RivalStone(i));
    }
    return placement;
}

Placement StartPlacement() { return PlacementOf(BoardModel()); }

PointMask MirrorMask(PointMask mask) {
    PointMask mirrored = 0;
    for (int p = 0; p < kPointCount; ++p) {
        if (mask & PointBit(p)) mirrored |= PointBit(MirrorPoint(p));
    }
    return mirrored;
}

bool HoldsLine(PointMask mask) {
    std::array<PointIndex, kStoneCount> points{};
    int count = 0;
    for (int p = 0; p < kPointCount; ++p) {
        if (!(mask & PointBit(p))) continue;
        if (count == kStoneCount) return false;
        points[count++] = static_cast<PointIndex>(p);
    }
    return count == kStoneCount && IsWinningLine(points);
}

bool IsFinished(Placement placement) { return HoldsLine(MirrorMask(placement.rival)); }

std::vector<Step> LegalSteps(Placement placement) {
    const PointMask taken = placement.own | placement.rival;
    std::vector<Step> steps;
    for (int from = 0; from < kPointCount; ++from) {
        if (!(placement.own & PointBit(from))) continue;
        for (int to = 0; to < kPointCount; ++to) {
            if ((taken & PointBit(to)) || !IsAdjacent(from, to)) continue;
            steps.push_back({static_cast<PointIndex>(from), static_cast<PointIndex>(to)});
        }
    }
    return steps;
}

PointMask OwnAfter(Placement placement, Step step) {
    return static_cast<PointMask>((placement.own & ~PointBit(step.from)) | PointBit(step.to));
}

bool StepWins(Placement placement, Step step) { return HoldsLine(OwnAfter(placement, step)); }

Placement AfterStep(Placement placement, Step step) {
    return {MirrorMask(placement.rival), MirrorMask(OwnAfter(placement, step))};
}

}  // namespace torvane
