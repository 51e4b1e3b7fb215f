// Between games: starting one, resetting the tally, and the chat line.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/main_window.h"
#include "ui/message_list.h"
#include "ui/picture_box.h"
#include "ui/texts.h"

namespace torvane {

void Main::StartGame_Click() {
    if (StartSequenceRunning()) return;
    if (!connection_->IsConnected()) {
        AddLine(text::kNotConnected, true);
        return;
    }
    SendToRival({StrtGMessage()});
    BeginStart(StartSequence::Kind::Own);
}

// Both rows back on their start points, every stone disabled and the banner
// blinking; a sequence already running begins anew.
void Main::BeginStart(StartSequence::Kind kind) {
    StartP->SetPicture(Picture(bitmap::kStart));
    StartP->move(geometry::kBannerRect.topLeft());
    StartP->raise();
    board_.Reset();
    Dragging = false;
    board_.SetTurn(Turn::None);
    ShowStones();
    ShowTurn();
    start_->Begin(kind);
}

// The player who started moves first, unless the rival has moved meanwhile:
// then it is the local player's turn, whoever started.
void Main::FinishStart(StartSequence::Kind kind) {
    StartGame->setEnabled(false);
    const bool own = kind == StartSequence::Kind::Own;
    if (own || board_.GetTurn() != Turn::Mine) board_.SetTurn(own ? Turn::Mine : Turn::Rival);
    ShowTurn();
    AddLine(own ? text::kYouMoveFirst : text::kYouMoveSecond, true);
    RunHeld();
}

void Main::Reset_Click() {
    WinNum->setText(text::kZero);
    LoseNum->setText(text::kZero);
    SendToRival({ResetMessage()});
}

// Enter in the chat line.
void Main::TSend_KeyPress() {
    if (TSend->text().isEmpty()) return;
    if (!connection_->IsConnected()) {
        // Keep the typed line: it can be sent once a rival is there.
        AddLine(text::kNotConnected, true);
        return;
    }
    const QString line = ChatLine(session_.settings.NickName, TSend->text());
    SendToRival({SpeakMessage(line)});
    AddLine(line, true);
    TSend->clear();
}

}  // namespace torvane
