#pragma once
// How often each position has stood in a game. The start position is a
// draw with best play, so a game between good players would never end: the
// third time the same position stands with the same player to move, the
// game is a draw. Both programs count the same moves, each in its own
// numbering, so both reach the third time together.

#include <cstdint>
#include <unordered_map>

#include "rules/board_model.h"

namespace torvane {

class Repetitions {
public:
    // Counts the board as it stands with `toMove` to move; returns how many
    // times it has stood so in this game, this time included.
    int record(const BoardModel& board, Turn toMove);
    // A new game.
    void clear() { seen_.clear(); }

    static constexpr int kDrawAt = 3;

private:
    std::unordered_map<std::uint32_t, int> seen_;
};

}  // namespace torvane
