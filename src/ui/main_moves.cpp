// The local player's move: dragging an own stone and dropping it.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "rules/drop.h"
#include "rules/winning_line.h"
#include "ui/bitmaps.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"
#include "ui/prompter.h"
#include "ui/texts.h"

namespace torvane {

// Any button lifts the stone; its point counts as free while it is held.
void Main::Mystone_MouseDown(int index, Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/, QPointF pos) {
    Dragging = true;
    GrabX = static_cast<float>(pos.x());
    GrabY = static_cast<float>(pos.y());
    const auto point = PointAt({Mystone[index]->x(), Mystone[index]->y()});
    if (point) {
        session_.board.PointEmpty[*point] = true;
        session_.board.PickedPoint = *point;
    }
    Mystone[index]->raise();
}

// The grabbed spot stays under the cursor, wherever it goes.
void Main::Mystone_MouseMove(int index, Qt::MouseButtons /*button*/, Qt::KeyboardModifiers /*shift*/,
                             QPointF pos) {
    if (!Dragging) return;
    PictureBox* stone = Mystone[index];
    stone->move(stone->x() + qRound(pos.x() - GrabX), stone->y() + qRound(pos.y() - GrabY));
}

void Main::Mystone_MouseUp(int index, Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/,
                           QPointF /*pos*/) {
    if (!Dragging) return;
    Dragging = false;
    DropStone(index);
}

void Main::DropStone(int index) {
    BoardState& board = session_.board;
    const auto target = DropTarget(board.PickedPoint, {Mystone[index]->x(), Mystone[index]->y()}, board.PointEmpty);
    if (target) {
        AcceptDrop(index, *target);
        return;
    }
    // The stone stays where it was dropped while the user reads the message.
    // A game started meanwhile, or the window closed: leave the stones be.
    const int generation = startGeneration_;
    prompter_.Information(this, text::kRuleTitle, text::kCannotPlace);
    if (generation != startGeneration_) return;
    const PixelPos home = PointPos(board.PickedPoint);
    Mystone[index]->move(home.x, home.y);
    board.PointEmpty[board.PickedPoint] = false;
}

void Main::AcceptDrop(int index, PointIndex target) {
    BoardState& board = session_.board;
    const PixelPos snapped = PointPos(target);
    Mystone[index]->move(snapped.x, snapped.y);
    board.PointEmpty[target] = false;
    SetOwnStonesEnabled(false);
    MarkTurn(Rival, OneSelf);
    const bool won = HasThreeInRow(MystonePositions());
    QStringList messages = {SetStMessage(index, target, board.PickedPoint)};
    if (won) messages << FinisMessage();
    SendToRival(messages);
    if (!won) return;
    UnmarkTurn();
    AddLine(text::kYouWin, true);
    ShowBanner(bitmap::kWin);
    CountUp(WinNum);
    StartGame->setEnabled(true);
}

}  // namespace torvane
