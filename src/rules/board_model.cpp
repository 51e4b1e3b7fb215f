#include "rules/board_model.h"

#include <algorithm>

#include "rules/winning_line.h"

namespace torvane {

void BoardModel::reset() {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i] = ownStartPoint(i);
        rival_[i] = rivalStartPoint(i);
    }
    empty_ = kStartEmpty;
    lifted_.reset();
    lastRivalMove_.reset();
}

void BoardModel::lift(int stone) {
    picked_ = own_[stone];
    empty_[picked_] = true;
    lifted_ = stone;
}

bool BoardModel::canPlace(PointIndex target) const {
    return isPoint(target) && empty_[target] && isAdjacent(picked_, target);
}

void BoardModel::place(PointIndex target) {
    if (!lifted_) return;
    own_[*lifted_] = target;
    empty_[target] = false;
    lifted_.reset();
    lastRivalMove_.reset();
}

void BoardModel::putBack() {
    if (!lifted_) return;
    empty_[picked_] = false;
    lifted_.reset();
}

bool BoardModel::hasThreeInRow() const { return isWinningLine(own_); }

bool BoardModel::applyRivalMove(int stone, int target, int source) {
    if (!isStone(stone) || !isPoint(target)) return false;
    lastRivalMove_ = PointMove{rival_[stone], mirrorPoint(target)};
    rival_[stone] = mirrorPoint(target);
    empty_[mirrorPoint(target)] = false;
    if (isPoint(source)) empty_[mirrorPoint(source)] = true;
    return true;
}

std::optional<MoveFault> BoardModel::rivalMoveFault(int stone, int target, int source) const {
    if (!isStone(stone)) return MoveFault::NoSuchStone;
    const PointIndex from = rival_[stone];
    if (source != mirrorPoint(from)) return MoveFault::NotOnSource;
    if (!isPoint(target)) return MoveFault::NoSuchTarget;
    const PointIndex to = mirrorPoint(target);
    if (!empty_[to]) return MoveFault::Taken;
    if (!isAdjacent(from, to)) return MoveFault::NotAdjacent;
    return std::nullopt;
}

bool BoardModel::rivalHasThreeInRow() const {
    std::array<PointIndex, kStoneCount> theirs{};
    std::transform(rival_.begin(), rival_.end(), theirs.begin(), [](PointIndex p) { return mirrorPoint(p); });
    return isWinningLine(theirs);
}

int BoardModel::moveOwn(PointIndex from, PointIndex to) {
    const auto stone = std::find(own_.begin(), own_.end(), from);
    if (stone == own_.end()) return -1;
    *stone = to;
    empty_[from] = true;
    empty_[to] = false;
    return static_cast<int>(stone - own_.begin());
}

}  // namespace torvane
