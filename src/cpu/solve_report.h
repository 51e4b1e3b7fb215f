#pragma once
// What `torvane-cpu --solve` prints about the solved game.

#include <string>

#include "cpu/solution.h"

namespace torvane {

// Positions by value for the side to move, over the 1680 placements.
struct SolutionCounts {
    int won = 0;
    int lost = 0;
    int drawn = 0;
    int finished = 0;  // lost in 0 plies: the rival has just won
    int stuck = 0;     // drawn because the side to move has no legal step
    int longestWin = 0;
    int longestLoss = 0;
};

SolutionCounts countValues(const Solution& solution);

std::string describeValue(Value value);

std::string solveReport(const Solution& solution);

}  // namespace torvane
