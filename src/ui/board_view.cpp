#include "ui/board_view.h"

#include "ui/board_geometry.h"

namespace torvane {

BoardView::BoardView(QWidget* parent) : PictureBox(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(geometry::kBoardFrameWidth);
    setPicture(load(bitmap::kBoard));
    // Made after the board, so they lie above it, and the banner above them.
    for (int i = 0; i < kStoneCount; ++i) {
        for (auto* stones : {&own_, &rival_}) {
            (*stones)[i] = new PictureBox(parent);
            (*stones)[i]->resize(geometry::kStoneSize, geometry::kStoneSize);
        }
        connect(own_[i], &PictureBox::pressed, this, [this, i](QPointF pos) { onPressed(i, pos); });
        connect(own_[i], &PictureBox::moved, this, [this, i](QPointF pos) { onMoved(i, pos); });
        connect(own_[i], &PictureBox::released, this, [this, i] { onReleased(i); });
    }
    marks_ = new BoardMarks(parent);
    banner_ = new PictureBox(parent);
    banner_->setGeometry(geometry::kBannerRect);
    banner_->hide();
    showColours(true);
}

void BoardView::showColours(bool ownGreen) {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i]->setPicture(load(ownGreen ? bitmap::kGreen : bitmap::kBlue));
        rival_[i]->setPicture(load(ownGreen ? bitmap::kBlue : bitmap::kGreen));
    }
}

void BoardView::showBoard(const BoardModel& board) {
    // A start or the end of a game has put the stone in hand back.
    if (dragged_ && board.liftedStone() != dragged_) dragged_.reset();
    for (int i = 0; i < kStoneCount; ++i) {
        const geometry::PixelPos rival = geometry::pointPos(board.rivalStone(i));
        rival_[i]->move(rival.x, rival.y);
        if (board.liftedStone() == i) continue;
        const geometry::PixelPos own = geometry::pointPos(board.ownStone(i));
        own_[i]->move(own.x, own.y);
    }
    restack();
}

void BoardView::showMarks(const std::optional<PointMove>& lastRivalMove,
                          const std::optional<std::array<PointIndex, kStoneCount>>& winningStones) {
    marks_->showMarks(lastRivalMove, winningStones);
}

void BoardView::restack() {
    marks_->raise();
    if (banner_->isVisible()) banner_->raise();
    if (dragged_) own_[*dragged_]->raise();
}

void BoardView::showTurn(Turn turn) {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i]->setEnabled(turn == Turn::Own);
        rival_[i]->setEnabled(false);
    }
}

void BoardView::showBanner(Banner banner, bool shown) {
    static const std::array<QString, 5> kPictures = {QString(), bitmap::kStart, bitmap::kWin, bitmap::kLose,
                                                     bitmap::kDraw};
    if (banner != Banner::None) banner_->setPicture(load(kPictures[int(banner)]));
    if (shown == banner_->isVisible()) return;
    banner_->setVisible(shown);
    restack();
}

// Any button takes the stone.
void BoardView::onPressed(int stone, QPointF pos) {
    dragged_ = stone;
    grab_ = pos;
    own_[stone]->raise();
    emit lifted(stone);
}

// The grabbed spot stays under the cursor, wherever it goes.
void BoardView::onMoved(int stone, QPointF pos) {
    if (dragged_ != stone) return;
    PictureBox* box = own_[stone];
    box->move(box->x() + qRound(pos.x() - grab_.x()), box->y() + qRound(pos.y() - grab_.y()));
}

void BoardView::onReleased(int stone) {
    if (dragged_ != stone) return;
    dragged_.reset();
    emit dropped(stone, geometry::nearPoint({own_[stone]->x(), own_[stone]->y()}));
}

}  // namespace torvane
