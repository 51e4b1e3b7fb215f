#pragma once
// The board with its stones and the banner over it, as the match has them:
// the board picture itself, with the six stones and the banner made beside
// it on the same window, above it, so that a stone in hand can be dragged
// anywhere over the window.
//
// A stone is moved three ways, under the same rules: dragged with the mouse;
// clicked, then its target clicked; or with the keyboard, whose cursor walks
// the points with the arrows or jumps with 1 to 9 laid out as on a keypad,
// Enter or Space choosing the point under it and Escape putting the stone
// in hand back. What the player chose is told, and the window decides.

#include <QPointF>
#include <array>
#include <optional>

#include "match/match.h"
#include "ui/bitmaps.h"
#include "ui/board_marks.h"
#include "ui/picture_box.h"
#include "ui/stone_box.h"

namespace torvane {

// Why a point chosen on the board does nothing.
enum class Refusal { NoGame, RivalsTurn, NotOwnStone };

class BoardView : public PictureBox {
    Q_OBJECT
public:
    explicit BoardView(QWidget* parent = nullptr);

    // The board shown, which outlives the view.
    void setModel(const BoardModel& board);
    const BoardModel& model() const { return *model_; }

    // Which side has the green stones: on both screens the server's.
    void showColours(bool ownGreen);
    // Every stone on the point the board has it on, but the one in hand:
    // held up over its point, or where the mouse drags it.
    void showBoard();
    // The own stones can be taken exactly while the player is to move.
    void showTurn();
    void showBanner(Banner banner, bool shown);
    // The rival's last move and the stones that won, marked on the board.
    void showMarks(const std::optional<PointMove>& lastRivalMove,
                   const std::optional<std::array<PointIndex, kStoneCount>>& winningStones);

    // The point the keyboard is on, whether or not it shows.
    PointIndex cursor() const { return cursor_; }
    // The player chose `point`: take the own stone there, or put the one in
    // hand on it.
    void choose(PointIndex point);

    StoneBox* ownStone(int stone) const { return own_[stone]; }
    StoneBox* rivalStone(int stone) const { return rival_[stone]; }
    PictureBox* bannerBox() const { return banner_; }

signals:
    void lifted(int stone);
    void putBack();
    // An own stone let go near `target`, or near no point at all.
    void dropped(int stone, std::optional<torvane::PointIndex> target);
    void refused(torvane::Refusal why);
    // The point a stone was taken from or put back on, as it is now, for a
    // screen reader: a focused cell's new name goes unread otherwise.
    void spoken(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onPressed(int stone, QPointF pos);
    void onMoved(int stone, QPointF pos);
    void onReleased(int stone);
    void onBoardReleased(QPointF pos);
    void moveCursor(PointIndex point);
    void showCursor(bool shown);
    // Tells a screen reader which cell has the focus, and which changed.
    void tellFocus() const;
    void tellCellsChanged();
    // The marks above the stones, the banner above the marks, and a stone in
    // hand above all.
    void restack();

    const BoardModel* model_ = nullptr;
    std::array<StoneBox*, kStoneCount> own_{};
    std::array<StoneBox*, kStoneCount> rival_{};
    BoardMarks* marks_ = nullptr;
    Markings markings_;
    PictureBox* banner_ = nullptr;
    bitmap::Pictures pictures_;
    // The stone under the mouse, where in it the mouse took it, where its
    // box stood then, and whether it was in hand already.
    std::optional<int> dragged_;
    QPointF grab_;
    QPoint dragStart_;
    bool wasInHand_ = false;
    // Where a press on the board itself began.
    QPointF boardPress_;
    PointIndex cursor_ = 7;
    // The cursor shows while the keyboard is in use on the board, not after
    // a click.
    bool cursorShown_ = false;
    // What each cell was last told to be.
    std::array<QString, kPointCount> told_;
};

}  // namespace torvane
