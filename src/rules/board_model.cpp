#include "rules/board_model.h"

#include <algorithm>

#include "rules/winning_line.h"

namespace torvane {

void BoardModel::Reset() {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i] = OwnStartPoint(i);
        rival_[i] = RivalStartPoint(i);
    }
    empty_ = kStartEmpty;
    lifted_.reset();
}

void BoardModel::Lift(int stone) {
    picked_ = own_[stone];
    empty_[picked_] = true;
    lifted_ = stone;
}

bool BoardModel::CanPlace(PointIndex target) const {
    return IsPoint(target) && empty_[target] && IsAdjacent(picked_, target);
}

void BoardModel::Place(PointIndex target) {
    if (!lifted_) return;
    own_[*lifted_] = target;
    empty_[target] = false;
    lifted_.reset();
}

void BoardModel::PutBack() {
    if (!lifted_) return;
    empty_[picked_] = false;
    lifted_.reset();
}

bool BoardModel::HasThreeInRow() const { return IsWinningLine(own_); }

void BoardModel::ApplyRivalMove(int stone, int target, int source) {
    if (!IsStone(stone) || !IsPoint(target)) return;
    rival_[stone] = MirrorPoint(target);
    empty_[MirrorPoint(target)] = false;
    if (IsPoint(source)) empty_[MirrorPoint(source)] = true;
}

std::optional<MoveFault> BoardModel::RivalMoveFault(int stone, int target, int source) const {
    if (!IsStone(stone)) return MoveFault::NoSuchStone;
    const PointIndex from = rival_[stone];
    if (source != MirrorPoint(from)) return MoveFault::NotOnSource;
    if (!IsPoint(target)) return MoveFault::NoSuchTarget;
    const PointIndex to = MirrorPoint(target);
    if (!empty_[to]) return MoveFault::Taken;
    if (!IsAdjacent(from, to)) return MoveFault::NotAdjacent;
    return std::nullopt;
}

bool BoardModel::RivalHasThreeInRow() const {
    std::array<PointIndex, kStoneCount> theirs{};
    std::transform(rival_.begin(), rival_.end(), theirs.begin(), [](PointIndex p) { return MirrorPoint(p); });
    return IsWinningLine(theirs);
}

int BoardModel::MoveOwn(PointIndex from, PointIndex to) {
    const auto stone = std::find(own_.begin(), own_.end(), from);
    if (stone == own_.end()) return -1;
    *stone = to;
    empty_[from] = true;
    empty_[to] = false;
    return static_cast<int>(stone - own_.begin());
}

}  // namespace torvane
