// The local player's move: dragging an own stone and dropping it.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"
#include "ui/prompter.h"
#include "ui/tally.h"
#include "ui/texts.h"

namespace torvane {

// Any button lifts the stone; its point counts as free while it is held.
void Main::Mystone_MouseDown(int index, Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/, QPointF pos) {
    Dragging = true;
    GrabX = static_cast<float>(pos.x());
    GrabY = static_cast<float>(pos.y());
    board_.Lift(index);
    Mystone[index]->raise();
}

// The grabbed spot stays under the cursor, wherever it goes.
void Main::Mystone_MouseMove(int index, Qt::MouseButtons /*button*/, Qt::KeyboardModifiers /*shift*/, QPointF pos) {
    if (!Dragging) return;
    PictureBox* stone = Mystone[index];
    stone->move(stone->x() + qRound(pos.x() - GrabX), stone->y() + qRound(pos.y() - GrabY));
}

void Main::Mystone_MouseUp(int index, Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/, QPointF /*pos*/) {
    if (!Dragging) return;
    Dragging = false;
    DropStone(index);
}

// A game started while the stone was held has put it back already.
void Main::DropStone(int index) {
    if (board_.LiftedStone() != index) {
        ShowStones();
        return;
    }
    const std::optional<PointIndex> target = geometry::NearPoint({Mystone[index]->x(), Mystone[index]->y()});
    if (target && board_.CanPlace(*target)) {
        AcceptDrop(*target);
        return;
    }
    // The stone stays where it was dropped while the user reads the message,
    // and goes back unless a new game has put it back meanwhile.
    const QPointer<Main> self(this);
    prompter_.Information(this, text::kRuleTitle, text::kCannotPlace, [self, index] {
        if (!self || self->board_.LiftedStone() != index) return;
        self->board_.PutBack();
        self->ShowStones();
    });
}

void Main::AcceptDrop(PointIndex target) {
    const PointIndex from = board_.PickedPoint();
    const int stone = *board_.LiftedStone();
    board_.Place(target);
    const bool won = board_.HasThreeInRow();
    board_.SetTurn(won ? Turn::None : Turn::Rival);
    ShowStones();
    ShowTurn();
    QStringList messages = {SetStMessage(stone, target, from)};
    if (won) messages << FinisMessage();
    SendToRival(messages);
    if (!won) return;
    AddLine(text::kYouWin, true);
    ShowBanner(bitmap::kWin);
    WinNum->setText(CountedUp(WinNum->text()));
    StartGame->setEnabled(true);
}

}  // namespace torvane
