#include "rules/board_model.h"

#include <algorithm>

#include "rules/winning_line.h"

namespace torvane {

void BoardModel::Reset() {
    for (int i = 0; i < kStoneCount; ++i) {
        mine_[i] = MyStartPoint(i);
        yours_[i] = YourStartPoint(i);
    }
    empty_ = kStartEmpty;
    lifted_.reset();
}

void BoardModel::Lift(int stone) {
    picked_ = mine_[stone];
    empty_[picked_] = true;
    lifted_ = stone;
}

bool BoardModel::CanPlace(PointIndex target) const {
    return IsPoint(target) && empty_[target] && IsAdjacent(picked_, target);
}

void BoardModel::Place(PointIndex target) {
    if (!lifted_) return;
    mine_[*lifted_] = target;
    empty_[target] = false;
    lifted_.reset();
}

void BoardModel::PutBack() {
    if (!lifted_) return;
    empty_[picked_] = false;
    lifted_.reset();
}

bool BoardModel::HasThreeInRow() const { return IsWinningLine(mine_); }

void BoardModel::ApplyRivalMove(int stone, int target, int source) {
    if (!IsStone(stone) || !IsPoint(target)) return;
    yours_[stone] = MirrorPoint(target);
    empty_[MirrorPoint(target)] = false;
    if (IsPoint(source)) empty_[MirrorPoint(source)] = true;
}

std::optional<MoveFault> BoardModel::RivalMoveFault(int stone, int target, int source) const {
    if (!IsStone(stone)) return MoveFault::NoSuchStone;
    const PointIndex from = yours_[stone];
    if (source != MirrorPoint(from)) return MoveFault::NotOnSource;
    if (!IsPoint(target)) return MoveFault::NoSuchTarget;
    const PointIndex to = MirrorPoint(target);
    if (!empty_[to]) return MoveFault::Taken;
    if (!IsAdjacent(from, to)) return MoveFault::NotAdjacent;
    return std::nullopt;
}

bool BoardModel::RivalHasThreeInRow() const {
    std::array<PointIndex, kStoneCount> theirs{};
    std::transform(yours_.begin(), yours_.end(), theirs.begin(), [](PointIndex p) { return MirrorPoint(p); });
    return IsWinningLine(theirs);
}

int BoardModel::MoveOwn(PointIndex from, PointIndex to) {
    const auto stone = std::find(mine_.begin(), mine_.end(), from);
    if (stone == mine_.end()) return -1;
    *stone = to;
    empty_[from] = true;
    empty_[to] = false;
    return static_cast<int>(stone - mine_.begin());
}

}  // namespace torvane
