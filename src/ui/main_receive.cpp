// Everything the rival sends: reading, cutting and carrying out each message.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/bitmaps.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"
#include "ui/texts.h"

namespace torvane {

// A read is cut into messages before any of them is carried out, so a read
// handled inside one of the start animation's pauses cannot disturb the
// rest of the read that was interrupted.
void Main::Winsock_DataArrival(qint64 /*bytesTotal*/) {
    tailTimer_.stop();
    const std::vector<Message> messages = reader_.Read(Winsock->GetData());
    if (reader_.HasTail()) tailTimer_.start(kTailWaitMs);
    Dispatch(messages);
}

// The rest of an unfinished tag never came: handle it as it stands.
void Main::HandleTail() { Dispatch(reader_.Flush()); }

void Main::Dispatch(const std::vector<Message>& messages) {
    for (const Message& message : messages) Handle(message);
}

void Main::Handle(const Message& message) {
    switch (message.command) {
    case Command::Plain: AddLine(message.argument, true); break;
    case Command::Cnnct: OnCnnct(message.argument); break;
    case Command::SName: OnSName(message.argument); break;
    case Command::Speak: OnSpeak(message); break;
    case Command::Reset: OnReset(); break;
    case Command::StrtG: OnStrtG(); break;
    case Command::SetSt: OnSetSt(message); break;
    case Command::Finis: OnFinis(); break;
    }
}

void Main::OnCnnct(const QString& name) {
    Rival->setText(name);
    SendToRival({SNameMessage(OneSelf->text())});
}

void Main::OnSName(const QString& name) {
    if (name.isEmpty()) {
        AddLine(text::kErrorNoName, true);
        return;
    }
    Rival->setText(name);
}

void Main::OnSpeak(const Message& message) {
    if (message.argumentMissing) {
        AddLine(text::kErrorNoChat, true);
        return;
    }
    AddLine(message.argument, true);
    AskForAttention();
}

void Main::OnReset() {
    WinNum->setText(text::kZero);
    LoseNum->setText(text::kZero);
}

// The rival's move, in the rival's numbering. Nothing is checked against the
// local board; a stone number outside 0..2 moves nothing.
void Main::OnSetSt(const Message& message) {
    if (message.argumentMissing) {
        AddLine(text::kErrorNoMove, true);
        return;
    }
    const MoveDigits move = ReadMoveDigits(message.argument);
    MoveTo = move.target;
    MoveFrom = move.source;
    const bool knownStone = move.stone >= 0 && move.stone < kStoneCount;
    if (knownStone && MoveTo >= 0 && MoveTo < kPointCount) {
        const PixelPos target = PointPos(MirrorPoint(MoveTo));
        Yourstone[move.stone]->move(target.x, target.y);
        session_.board.PointEmpty[MirrorPoint(MoveTo)] = false;
        if (MoveFrom >= 0 && MoveFrom < kPointCount) session_.board.PointEmpty[MirrorPoint(MoveFrom)] = true;
    }
    SetOwnStonesEnabled(true);
    MarkTurn(OneSelf, Rival);
    AskForAttention();
}

// The rival has won. The game is over on this screen too, so the own stones
// are disabled.
void Main::OnFinis() {
    AddLine(text::kYouLose, true);
    UnmarkTurn();
    ShowBanner(bitmap::kLose);
    CountUp(LoseNum);
    StartGame->setEnabled(true);
    SetOwnStonesEnabled(false);
    AskForAttention();
}

}  // namespace torvane
