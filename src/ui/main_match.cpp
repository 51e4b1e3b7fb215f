// Between games: starting one, resetting the tally, and the chat line.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/bitmaps.h"
#include "ui/main_window.h"
#include "ui/pause.h"
#include "ui/picture_box.h"
#include "ui/texts.h"

namespace torvane {

namespace {

constexpr int kBlinkWaits = 6;
constexpr int kBlinkMs = 500;
constexpr int kEnterKey = '\r';

// A plain "|" in a chat line would start a message on the rival's screen,
// so it travels as the fullwidth bar, one character in code page 932 too.
QString SafeChat(QString line) { return line.replace(u'|', u'｜'); }

}  // namespace

void Main::StartGame_Click() {
    if (StartSequenceRunning()) return;
    if (!Winsock->IsConnected()) {
        AddLine(text::kNotConnected, true);
        return;
    }
    SendToRival({StrtGMessage()});
    const int generation = ++startGeneration_;
    startRunning_ = StartKind::Own;
    ResetBoardForStart();
    if (!BlinkStartPicture(generation)) return;
    startRunning_ = StartKind::None;
    StartGame->setEnabled(false);
    SetOwnStonesEnabled(true);
    MarkTurn(OneSelf, Rival);
    AddLine(text::kYouMoveFirst, true);
}

// When both players start at nearly the same moment, each receives the
// other's start during its own animation. The server's start stands on both
// screens: the server ignores the client's, the client gives its own up.
void Main::OnStrtG() {
    if (startRunning_ == StartKind::Own && session_.settings.IsServer) return;
    const int generation = ++startGeneration_;
    startRunning_ = StartKind::Received;
    ResetBoardForStart();
    AskForAttention();
    if (!BlinkStartPicture(generation)) return;
    startRunning_ = StartKind::None;
    StartGame->setEnabled(false);
    MarkTurn(Rival, OneSelf);
    AddLine(text::kYouMoveSecond, true);
}

void Main::ResetBoardForStart() {
    StartP->SetPicture(bitmap::Load(bitmap::kStart));
    StartP->move(kBannerPos);
    StartP->raise();
    PlaceStonesAtStart();
    SetAllStonesEnabled(false);
    session_.board.ResetForGame();
}

// Shows, hides, shows... the start picture, ending hidden. Returns false when
// a newer start took over during a pause, or the window closed.
bool Main::BlinkStartPicture(int generation) {
    StartP->show();
    for (int i = 0; i < kBlinkWaits; ++i) {
        pause_.Wait(kBlinkMs);
        if (generation != startGeneration_) return false;
        if (i + 1 < kBlinkWaits) StartP->setVisible(i % 2 == 1);
    }
    return true;
}

void Main::Reset_Click() {
    WinNum->setText(text::kZero);
    LoseNum->setText(text::kZero);
    SendToRival({ResetMessage()});
}

void Main::TSend_KeyPress(int keyAscii) {
    if (keyAscii != kEnterKey || TSend->text().isEmpty()) return;
    if (!Winsock->IsConnected()) {
        // Keep the typed line: it can be sent once a rival is there.
        AddLine(text::kNotConnected, true);
        return;
    }
    const QString line = SafeChat(session_.settings.NickName + text::kChatSeparator + TSend->text());
    SendToRival({SpeakMessage(line)});
    AddLine(line, true);
    TSend->clear();
}

}  // namespace torvane
