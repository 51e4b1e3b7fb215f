#pragma once
// The board with its stones and the banner over it, as the match has them:
// the board picture itself, with the six stones and the banner made beside
// it on the same window, above it, so that a stone in hand can be dragged
// anywhere over the window. The player drags an own stone with the mouse;
// where it is let go is told, and the window decides.

#include <QPointF>
#include <array>
#include <optional>

#include "match/match.h"
#include "ui/bitmaps.h"
#include "ui/board_marks.h"
#include "ui/picture_box.h"

namespace torvane {

class BoardView : public PictureBox {
    Q_OBJECT
public:
    explicit BoardView(QWidget* parent = nullptr);

    // Which side has the green stones: on both screens the server's.
    void showColours(bool ownGreen);
    // Every stone on the point the board has it on, but the one in hand,
    // which stays where it is held.
    void showBoard(const BoardModel& board);
    // The own stones can be taken exactly while the player is to move.
    void showTurn(Turn turn);
    void showBanner(Banner banner, bool shown);
    // The rival's last move and the stones that won, marked on the board.
    void showMarks(const std::optional<PointMove>& lastRivalMove,
                   const std::optional<std::array<PointIndex, kStoneCount>>& winningStones);

    PictureBox* ownStone(int stone) const { return own_[stone]; }
    PictureBox* rivalStone(int stone) const { return rival_[stone]; }
    PictureBox* bannerBox() const { return banner_; }

signals:
    void lifted(int stone);
    // An own stone let go near `target`, or near no point at all.
    void dropped(int stone, std::optional<torvane::PointIndex> target);

private:
    void onPressed(int stone, QPointF pos);
    void onMoved(int stone, QPointF pos);
    void onReleased(int stone);
    // The marks above the stones, the banner above the marks, and a stone in
    // hand above all.
    void restack();
    const QPixmap& load(const QString& name) { return pictures_.get(name, devicePixelRatioF()); }

    std::array<PictureBox*, kStoneCount> own_{};
    std::array<PictureBox*, kStoneCount> rival_{};
    BoardMarks* marks_ = nullptr;
    PictureBox* banner_ = nullptr;
    bitmap::Pictures pictures_;
    // The stone being dragged, and where in it the mouse took it.
    std::optional<int> dragged_;
    QPointF grab_;
};

}  // namespace torvane
