#include "rules/repetitions.h"

namespace torvane {

namespace {

// Nine bits for the own stones, nine for the rival's, and the side to move.
std::uint32_t keyOf(const BoardModel& board, Turn toMove) {
    std::uint32_t own = 0, rival = 0;
    for (int i = 0; i < kStoneCount; ++i) {
        own |= 1u << board.ownStone(i);
        rival |= 1u << board.rivalStone(i);
    }
    return own | rival << kPointCount | std::uint32_t(toMove) << (2 * kPointCount);
}

}  // namespace

int Repetitions::record(const BoardModel& board, Turn toMove) { return ++seen_[keyOf(board, toMove)]; }

}  // namespace torvane
