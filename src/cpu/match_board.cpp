#include "cpu/match_board.h"

#include <QtGlobal>
#include <algorithm>

#include "rules/winning_line.h"

namespace torvane {

void MatchBoard::Reset() {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i] = MyStartPoint(i);
        rival_[i] = YourStartPoint(i);
    }
}

Placement MatchBoard::ToPlacement() const {
    Placement placement;
    for (int i = 0; i < kStoneCount; ++i) {
        placement.own |= PointBit(own_[i]);
        placement.rival |= PointBit(rival_[i]);
    }
    return placement;
}

bool MatchBoard::IsFree(int point) const {
    const auto standsThere = [point](PointIndex p) { return p == point; };
    return std::none_of(own_.begin(), own_.end(), standsThere) &&
           std::none_of(rival_.begin(), rival_.end(), standsThere);
}

std::optional<QString> MatchBoard::RivalMoveFault(const MoveDigits& move) const {
    if (move.stone < 0 || move.stone >= kStoneCount) return QStringLiteral("no such stone");
    const PointIndex from = rival_[move.stone];
    if (move.source != MirrorPoint(from)) return QStringLiteral("the stone does not stand on the source point");
    if (move.target < 0 || move.target >= kPointCount) return QStringLiteral("no such target point");
    const PointIndex to = MirrorPoint(move.target);
    if (!IsFree(to)) return QStringLiteral("the target point is taken");
    if (!IsAdjacent(from, to)) return QStringLiteral("the target is not next to the source");
    return std::nullopt;
}

void MatchBoard::ApplyRivalMove(const MoveDigits& move) { rival_[move.stone] = MirrorPoint(move.target); }

bool MatchBoard::RivalHoldsLine() const {
    std::array<PointIndex, kStoneCount> theirs{};
    std::transform(rival_.begin(), rival_.end(), theirs.begin(), [](PointIndex p) { return MirrorPoint(p); });
    return IsWinningLine(theirs);
}

int MatchBoard::ApplyOwnStep(Step step) {
    const auto stone = std::find(own_.begin(), own_.end(), step.from);
    Q_ASSERT(stone != own_.end());
    *stone = step.to;
    return static_cast<int>(stone - own_.begin());
}

}  // namespace torvane
