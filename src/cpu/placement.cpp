#include "cpu/placement.h"

#include "rules/winning_line.h"

namespace torvane {

Placement placementOf(const BoardModel& board) {
    Placement placement;
    for (int i = 0; i < kStoneCount; ++i) {
        placement.own |= pointBit(board.ownStone(i));
        placement.rival |= pointBit(board.rivalStone(i));
    }
    return placement;
}

Placement startPlacement() { return placementOf(BoardModel()); }

PointMask mirrorMask(PointMask mask) {
    PointMask mirrored = 0;
    for (int p = 0; p < kPointCount; ++p) {
        if (mask & pointBit(p)) mirrored |= pointBit(mirrorPoint(p));
    }
    return mirrored;
}

bool holdsLine(PointMask mask) {
    std::array<PointIndex, kStoneCount> points{};
    int count = 0;
    for (int p = 0; p < kPointCount; ++p) {
        if (!(mask & pointBit(p))) continue;
        if (count == kStoneCount) return false;
        points[count++] = static_cast<PointIndex>(p);
    }
    return count == kStoneCount && isWinningLine(points);
}

bool isFinished(Placement placement) { return holdsLine(mirrorMask(placement.rival)); }

std::vector<Step> legalSteps(Placement placement) {
    const PointMask taken = placement.own | placement.rival;
    std::vector<Step> steps;
    for (int from = 0; from < kPointCount; ++from) {
        if (!(placement.own & pointBit(from))) continue;
        for (int to = 0; to < kPointCount; ++to) {
            if ((taken & pointBit(to)) || !isAdjacent(from, to)) continue;
            steps.push_back({static_cast<PointIndex>(from), static_cast<PointIndex>(to)});
        }
    }
    return steps;
}

PointMask ownAfter(Placement placement, Step step) {
    return static_cast<PointMask>((placement.own & ~pointBit(step.from)) | pointBit(step.to));
}

bool stepWins(Placement placement, Step step) { return holdsLine(ownAfter(placement, step)); }

Placement afterStep(Placement placement, Step step) {
    return {mirrorMask(placement.rival), mirrorMask(ownAfter(placement, step))};
}

}  // namespace torvane
