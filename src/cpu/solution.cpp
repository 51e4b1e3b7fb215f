#include "cpu/solution.h"

#include <bit>
#include <deque>

namespace torvane {

namespace {

constexpr int kCodeCount = 19683;  // 3 to the 9th: each point empty, own or rival
constexpr PointMask kAllPoints = (1u << kPointCount) - 1;

int codeOf(Placement placement) {
    int code = 0;
    for (int p = kPointCount - 1; p >= 0; --p) {
        const int cell = (placement.own & pointBit(p)) ? 1 : (placement.rival & pointBit(p)) ? 2 : 0;
        code = code * 3 + cell;
    }
    return code;
}

bool isPlacement(Placement placement) {
    return std::popcount(placement.own) == kStoneCount && std::popcount(placement.rival) == kStoneCount &&
           (placement.own & placement.rival) == 0 && ((placement.own | placement.rival) & ~kAllPoints) == 0;
}

}  // namespace

Solution::Solution() {
    enumeratePlacements();
    propagate();
}

void Solution::enumeratePlacements() {
    indexByCode_.assign(kCodeCount, -1);
    for (PointMask own = 0; own <= kAllPoints; ++own) {
        for (PointMask rival = 0; rival <= kAllPoints; ++rival) {
            const Placement placement{own, rival};
            if (!isPlacement(placement)) continue;
            indexByCode_[codeOf(placement)] = static_cast<std::int16_t>(placements_.size());
            placements_.push_back(placement);
        }
    }
}

int Solution::indexOf(Placement placement) const {
    return isPlacement(placement) ? indexByCode_[codeOf(placement)] : -1;
}

// Works back from the finished positions in order of distance. A position
// becomes won by the first (so shortest) step to a lost one, and lost once
// its last open step turns out to reach a won one, which is the longest.
void Solution::propagate() {
    const int count = size();
    std::vector<std::vector<int>> predecessors(count);
    std::vector<int> open(count, 0);
    std::vector<bool> known(count, false);
    std::deque<int> queue;
    values_.assign(count, Value{});
    for (int i = 0; i < count; ++i) {
        const Placement placement = placements_[i];
        if (isFinished(placement)) {
            values_[i] = {Outcome::Loss, 0};
            known[i] = true;
            queue.push_back(i);
            continue;
        }
        for (const Step step : legalSteps(placement)) {
            predecessors[indexOf(afterStep(placement, step))].push_back(i);
            ++open[i];
        }
    }
    while (!queue.empty()) {
        const int index = queue.front();
        queue.pop_front();
        const Value value = values_[index];
        for (const int before : predecessors[index]) {
            if (known[before]) continue;
            if (value.outcome == Outcome::Win && --open[before] > 0) continue;
            const Outcome outcome = value.outcome == Outcome::Loss ? Outcome::Win : Outcome::Loss;
            values_[before] = {outcome, value.plies + 1};
            known[before] = true;
            queue.push_back(before);
        }
    }
}

Value valueAfter(const Solution& solution, Placement placement, Step step) {
    const Value next = solution.valueOf(afterStep(placement, step));
    switch (next.outcome) {
    case Outcome::Win: return {Outcome::Loss, next.plies + 1};
    case Outcome::Loss: return {Outcome::Win, next.plies + 1};
    case Outcome::Draw: break;
    }
    return next;
}

}  // namespace torvane
