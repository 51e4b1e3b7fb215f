#include "ui/board_view.h"

#include "ui/board_geometry.h"

namespace torvane {

BoardView::BoardView(QWidget* parent) : PictureBox(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(geometry::kBoardFrameWidth);
    SetPicture(Load(bitmap::kBoard));
    // Made after the board, so they lie above it, and the banner above them.
    for (int i = 0; i < kStoneCount; ++i) {
        for (auto* stones : {&own_, &rival_}) {
            (*stones)[i] = new PictureBox(parent);
            (*stones)[i]->resize(geometry::kStoneSize, geometry::kStoneSize);
        }
        connect(own_[i], &PictureBox::Pressed, this, [this, i](QPointF pos) { OnPressed(i, pos); });
        connect(own_[i], &PictureBox::Moved, this, [this, i](QPointF pos) { OnMoved(i, pos); });
        connect(own_[i], &PictureBox::Released, this, [this, i] { OnReleased(i); });
    }
    banner_ = new PictureBox(parent);
    banner_->setGeometry(geometry::kBannerRect);
    banner_->hide();
    ShowColours(true);
}

void BoardView::ShowColours(bool ownGreen) {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i]->SetPicture(Load(ownGreen ? bitmap::kGreen : bitmap::kBlue));
        rival_[i]->SetPicture(Load(ownGreen ? bitmap::kBlue : bitmap::kGreen));
    }
}

void BoardView::ShowBoard(const BoardModel& board) {
    // A start or the end of a game has put the stone in hand back.
    if (dragged_ && board.LiftedStone() != dragged_) dragged_.reset();
    for (int i = 0; i < kStoneCount; ++i) {
        const geometry::PixelPos rival = geometry::PointPos(board.RivalStone(i));
        rival_[i]->move(rival.x, rival.y);
        if (board.LiftedStone() == i) continue;
        const geometry::PixelPos own = geometry::PointPos(board.OwnStone(i));
        own_[i]->move(own.x, own.y);
    }
}

void BoardView::ShowTurn(Turn turn) {
    for (int i = 0; i < kStoneCount; ++i) {
        own_[i]->setEnabled(turn == Turn::Own);
        rival_[i]->setEnabled(false);
    }
}

void BoardView::ShowBanner(Banner banner, bool shown) {
    static const std::array<QString, 4> kPictures = {QString(), bitmap::kStart, bitmap::kWin, bitmap::kLose};
    if (banner != Banner::None) banner_->SetPicture(Load(kPictures[int(banner)]));
    if (shown == banner_->isVisible()) return;
    banner_->setVisible(shown);
    if (shown) banner_->raise();
}

// Any button takes the stone.
void BoardView::OnPressed(int stone, QPointF pos) {
    dragged_ = stone;
    grab_ = pos;
    own_[stone]->raise();
    emit Lifted(stone);
}

// The grabbed spot stays under the cursor, wherever it goes.
void BoardView::OnMoved(int stone, QPointF pos) {
    if (dragged_ != stone) return;
    PictureBox* box = own_[stone];
    box->move(box->x() + qRound(pos.x() - grab_.x()), box->y() + qRound(pos.y() - grab_.y()));
}

void BoardView::OnReleased(int stone) {
    if (dragged_ != stone) return;
    dragged_.reset();
    emit Dropped(stone, geometry::NearPoint({own_[stone]->x(), own_[stone]->y()}));
}

}  // namespace torvane
