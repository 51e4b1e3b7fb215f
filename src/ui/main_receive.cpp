// Everything the rival sends: carrying out each message of a read.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "ui/bitmaps.h"
#include "ui/main_window.h"
#include "ui/message_list.h"
#include "ui/picture_box.h"
#include "ui/tally.h"
#include "ui/texts.h"

namespace torvane {

namespace {

// A name cut for showing, with its continuation when one came.
QString ShownName(const QLabel* label, const Message& message) {
    if (!message.continued) return CutText(message.argument, kMaxNameLength);
    const QString shown = label->text();
    if (shown.size() > kMaxNameLength) return shown;  // already cut
    return CutText(shown + message.argument, kMaxNameLength);
}

}  // namespace

// The messages of one read, in order of arrival. What follows a start in
// the same read waits for the start's end, and so do the moves and game
// ends that arrive later during it, with everything after them: reading
// stops until then, so the list, the tally and the board come out as if
// each message had been handled at its turn, and no more than one read ever
// waits. A new start first carries out what waits, as that came before it.
void Main::Winsock_DataArrival(const std::vector<Message>& messages) {
    bool afterStart = false;
    for (const Message& message : messages) {
        if (message.command == Command::StrtG) {
            RunHeld();
            Handle(message);
            afterStart = StartSequenceRunning();
        } else if (afterStart || !held_.empty() || (StartSequenceRunning() && WaitsForStart(message.command))) {
            held_.push_back(message);
            connection_->PauseReading();
        } else {
            Handle(message);
        }
    }
}

bool Main::WaitsForStart(Command command) { return command == Command::SetSt || command == Command::Finis; }

void Main::RunHeld() {
    while (!held_.empty()) {
        const Message message = std::move(held_.front());
        held_.pop_front();
        Handle(message);
    }
    connection_->ResumeReading();
}

void Main::Handle(const Message& message) {
    switch (message.command) {
    case Command::Plain: OnPlain(message); break;
    case Command::Cnnct: OnCnnct(message); break;
    case Command::SName: OnSName(message); break;
    case Command::Speak: OnSpeak(message); break;
    case Command::Reset: OnReset(); break;
    case Command::StrtG: OnStrtG(); break;
    case Command::SetSt: OnSetSt(message); break;
    case Command::Finis: OnFinis(); break;
    }
}

void Main::OnPlain(const Message& message) {
    if (message.continued) {
        RecieveList->GrowLine(message.argument);
    } else {
        RecieveList->AddLine(message.argument, true, true);
    }
}

void Main::OnCnnct(const Message& message) {
    Rival->setText(ShownName(Rival, message));
    if (!message.continued) SendToRival({SNameMessage(OneSelf->text())});
}

void Main::OnSName(const Message& message) {
    if (message.argument.isEmpty()) {
        AddLine(text::kErrorNoName, true);
        return;
    }
    Rival->setText(ShownName(Rival, message));
}

void Main::OnSpeak(const Message& message) {
    if (message.continued) {
        RecieveList->GrowLine(message.argument);
        return;
    }
    if (message.argumentMissing) {
        AddLine(text::kErrorNoChat, true);
        return;
    }
    RecieveList->AddLine(message.argument, true, true);
    AskForAttention();
}

void Main::OnReset() {
    WinNum->setText(text::kZero);
    LoseNum->setText(text::kZero);
}

// The rival's start. When both players start at nearly the same moment, each
// receives the other's start during its own sequence: the server's start
// stands on both screens, so the server ignores the client's and the client
// gives its own up.
void Main::OnStrtG() {
    if (StartSequenceRunning() && start_->Current() == StartSequence::Kind::Own && session_.settings.IsServer) return;
    BeginStart(StartSequence::Kind::Received);
    AskForAttention();
}

// The rival's move, in the rival's numbering, taken as it comes: the local
// board is not checked against it. Either way it is now the local player's
// turn.
void Main::OnSetSt(const Message& message) {
    if (message.argumentMissing) {
        AddLine(text::kErrorNoMove, true);
        return;
    }
    const MoveDigits move = ReadMoveDigits(message.argument);
    board_.ApplyRivalMove(move.stone, move.target, move.source);
    board_.SetTurn(Turn::Mine);
    ShowStones();
    ShowTurn();
    AskForAttention();
}

// The rival has won. The game is over on this screen too, and a stone in
// hand goes back to its point.
void Main::OnFinis() {
    AddLine(text::kYouLose, true);
    if (board_.LiftedStone()) {
        board_.PutBack();
        Dragging = false;
    }
    board_.SetTurn(Turn::None);
    ShowStones();
    ShowTurn();
    ShowBanner(bitmap::kLose);
    LoseNum->setText(CountedUp(LoseNum->text()));
    StartGame->setEnabled(true);
    AskForAttention();
}

}  // namespace torvane
