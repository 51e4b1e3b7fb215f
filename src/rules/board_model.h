#pragma once
// The game as one player sees it, in that player's numbering: where each of
// the six stones stands, which points are free, the stone in hand and whose
// move it is. No pixels: the window places its stone pictures from this.

#include <array>
#include <optional>

#include "rules/board.h"

namespace torvane {

// Whose move it is; None between games.
enum class Turn { None, Own, Rival };

// A stone's step from one point to another.
struct PointMove {
    PointIndex from = 0;
    PointIndex to = 0;
    friend bool operator==(const PointMove&, const PointMove&) = default;
};

// Why a move the rival reports breaks the rules.
enum class MoveFault { NoSuchStone, NotOnSource, NoSuchTarget, Taken, NotAdjacent };

class BoardModel {
public:
    BoardModel() { reset(); }

    // Every stone on its start point, only the middle row free, nothing in
    // hand. The turn is kept: whoever starts a game sets it.
    void reset();

    PointIndex ownStone(int stone) const { return own_[stone]; }
    PointIndex rivalStone(int stone) const { return rival_[stone]; }
    const std::array<bool, kPointCount>& pointEmpty() const { return empty_; }
    // Where the stone lifted last came from.
    PointIndex pickedPoint() const { return picked_; }
    Turn getTurn() const { return turn_; }
    void setTurn(Turn turn) { turn_ = turn; }

    // The local player's move by hand: lift a stone, then place it or put it
    // back. While it is in hand its point counts as free.
    void lift(int stone);
    std::optional<int> liftedStone() const { return lifted_; }
    // A free neighbour of pickedPoint(); false for any index outside 0..8.
    bool canPlace(PointIndex target) const;
    // The caller has checked canPlace. The point left stays free.
    void place(PointIndex target);
    void putBack();
    // The own stones fill a winning line.
    bool hasThreeInRow() const;

    // The rival's move as received, in the rival's numbering, taken without
    // a check: the stone jumps to the mirrored target, which is marked taken,
    // then the mirrored source is marked free. A stone outside 0..2 or a
    // target outside 0..8 changes nothing, and gives false; a source outside
    // 0..8 frees nothing.
    bool applyRivalMove(int stone, int target, int source);
    // The rival's last move in this numbering, until the next move or game.
    const std::optional<PointMove>& lastRivalMove() const { return lastRivalMove_; }
    // Why the same move breaks the rules, or no value when it keeps them.
    std::optional<MoveFault> rivalMoveFault(int stone, int target, int source) const;
    // The rival's stones fill a winning line in the rival's own numbering.
    bool rivalHasThreeInRow() const;

    // Moves the own stone standing on `from` to `to` and returns its number,
    // or -1 when no own stone stands on `from`.
    int moveOwn(PointIndex from, PointIndex to);

private:
    std::array<PointIndex, kStoneCount> own_{};
    std::array<PointIndex, kStoneCount> rival_{};
    std::array<bool, kPointCount> empty_{};
    PointIndex picked_ = 0;
    std::optional<int> lifted_;
    std::optional<PointMove> lastRivalMove_;
    Turn turn_ = Turn::None;
};

}  // namespace torvane
