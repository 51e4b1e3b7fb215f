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

// The most of a received name that is shown.
constexpr qsizetype kMaxNameLength = 64;

// A name cut for showing, with its continuation when one came.
QString ShownName(const QLabel* label, const Message& message) {
    if (!message.continued) return CutText(message.argument, kMaxNameLength);
    const QString shown = label->text();
    if (shown.size() > kMaxNameLength) return shown;  // already cut
    return CutText(shown + message.argument, kMaxNameLength);
}

}  // namespace

// The messages of one read, in order. What follows a start in the same read
// waits until its three seconds are over; a start that arrives while such
// messages wait first carries them out, as they came before it.
void Main::Winsock_DataArrival(const std::vector<Message>& messages) {
    for (const Message& message : messages) {
        if (message.command == Command::StrtG) {
            RunHeld();
            Handle(message);
        } else if (holding_) {
            held_.push_back(message);
        } else {
            Handle(message);
        }
    }
    holding_ = false;
}

void Main::RunHeld() {
    for (const Message& message : std::exchange(held_, {})) Handle(message);
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
    holding_ = true;
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

// The rival has won. The game is over on this screen too.
void Main::OnFinis() {
    AddLine(text::kYouLose, true);
    board_.SetTurn(Turn::None);
    ShowTurn();
    ShowBanner(bitmap::kLose);
    LoseNum->setText(CountedUp(LoseNum->text()));
    StartGame->setEnabled(true);
    AskForAttention();
}

}  // namespace torvane
