#pragma once
// The board of the game in progress, kept by the computer from its own side:
// which point each of its stones and each of the rival's stones stands on,
// in the computer's numbering. The rival reports its moves in its own
// numbering; they are mirrored here as the game program mirrors them.

#include <array>
#include <optional>

#include "cpu/placement.h"
#include "net/protocol.h"
#include "rules/board.h"

namespace torvane {

class MatchBoard {
public:
    MatchBoard() { Reset(); }

    // Every stone back on its start point.
    void Reset();

    Placement ToPlacement() const;
    PointIndex OwnPoint(int stone) const { return own_[stone]; }
    PointIndex RivalPoint(int stone) const { return rival_[stone]; }

    // Why the rival's move breaks the rules, or no value when it keeps them.
    // The move names the rival's stone, target and source in its numbering.
    std::optional<QString> RivalMoveFault(const MoveDigits& move) const;
    void ApplyRivalMove(const MoveDigits& move);
    // The rival's stones fill a winning line in the rival's numbering.
    bool RivalHoldsLine() const;

    // Moves the own stone standing on step.from and returns its number.
    int ApplyOwnStep(Step step);

private:
    bool IsFree(int point) const;

    std::array<PointIndex, kStoneCount> own_{};
    std::array<PointIndex, kStoneCount> rival_{};
};

}  // namespace torvane
