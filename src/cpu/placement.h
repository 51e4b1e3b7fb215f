#pragma once
// A position as the side to move sees it: which points hold its own stones
// and which the rival's, both in the mover's numbering. Stones of one side
// are interchangeable here, so each side is a set of three points (a bit
// mask, bit p for point p). Passing the turn mirrors the board (8 - p) and
// swaps the two sets.

#include <cstdint>
#include <vector>

#include "rules/board_model.h"

namespace torvane {

using PointMask = std::uint16_t;

struct Placement {
    PointMask own = 0;
    PointMask rival = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// One stone stepping from one point to another, in the mover's numbering.
struct Step {
    PointIndex from = 0;
    PointIndex to = 0;
    friend bool operator==(const Step&, const Step&) = default;
};

constexpr PointMask pointBit(int p) { return static_cast<PointMask>(1u << p); }

// The board's stones as the side that keeps it sees them.
Placement placementOf(const BoardModel& board);

// Every game's start, for whichever side moves first.
Placement startPlacement();

// The same points numbered from the other side of the board.
PointMask mirrorMask(PointMask mask);

// True when the three points of `mask` fill a winning line in the numbering
// the mask is written in.
bool holdsLine(PointMask mask);

// The game is over: the side that just moved (the rival here) holds a
// winning line in its own numbering, i.e. the mirror of our view of it.
bool isFinished(Placement placement);

// Every step onto a free neighbouring point, ordered by source then target.
std::vector<Step> legalSteps(Placement placement);

// The mover's stones after the step, still in the mover's numbering.
PointMask ownAfter(Placement placement, Step step);

// True when the step fills a winning line for the mover: it wins at once.
bool stepWins(Placement placement, Step step);

// The position after the step, seen by the side that moves next.
Placement afterStep(Placement placement, Step step);

}  // namespace torvane
