#pragma once
// The whole game solved by retrograde analysis.
//
// Positions are seen by the side to move (see placement.h), so the 1680
// ways to put three and three stones on distinct points cover both sides to
// move: the 3360 positions of the board counted with the side to move fold
// two to one onto them, and a value here is the value for the side to move.
//
// Decisions the rules leave open:
//   - The win is checked only right after a move, for the side that moved.
//     A position where the rival (who just moved) holds a winning line in
//     its own numbering is therefore finished: lost for the side to move, in
//     0 plies. A step that fills a line for the mover wins in 1 ply, since
//     the position after it is such a finished one for the rival.
//   - A line the side to move already holds is never reached in play (it
//     would have ended the game) and wins nothing by itself: play goes on.
//   - A side with no legal step cannot pass, so the game stands still and
//     nobody can win: such a position is a draw.
//   - A draw is endless play under best play on both sides.
// Perfect play wins as fast as possible and, when lost, holds out as long
// as possible; the distance counts plies to the end under such play.

#include <cassert>
#include <cstdint>
#include <vector>

#include "cpu/placement.h"

namespace torvane {

enum class Outcome : std::uint8_t { Win, Loss, Draw };

struct Value {
    Outcome outcome = Outcome::Draw;
    int plies = 0;  // to the end of the game; 0 for a draw
    friend bool operator==(const Value&, const Value&) = default;
};

class Solution {
public:
    // Solves every position; takes a couple of milliseconds.
    Solution();

    int size() const { return static_cast<int>(placements_.size()); }
    Placement placementAt(int index) const { return placements_[index]; }
    // -1 unless the masks hold three points each and do not overlap.
    int indexOf(Placement placement) const;
    Value valueAt(int index) const { return values_[index]; }
    Value valueOf(Placement placement) const {
        const int index = indexOf(placement);
        assert(index >= 0);
        return values_[index];
    }

private:
    void enumeratePlacements();
    void propagate();

    std::vector<Placement> placements_;
    std::vector<std::int16_t> indexByCode_;
    std::vector<Value> values_;
};

// How good the position after `step` is for the mover: the mover's value
// seen through the rival's value of the next position.
Value valueAfter(const Solution& solution, Placement placement, Step step);

}  // namespace torvane
