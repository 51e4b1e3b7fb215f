#pragma once
// One player's side of a game in a test: a real main window with its own
// session, a recording message box stand-in and a shortened start sequence.

#include <QStringList>
#include <memory>

#include "support/recording_prompter.h"
#include "ui/main_window.h"
#include "ui/message_list.h"

namespace torvane::testing {

// The start sequence's steps in tests last a fiftieth of the real ones.
inline constexpr int kStartStepMs = StartSequence::kStepMs / 50;

struct Player {
    explicit Player(int startStepMs = kStartStepMs);
    ~Player();

    // Start-up as the program does it; the dialog stays open.
    void Load();
    // Start-up, then the dialog accepted with these settings and handed over.
    void Serve(const QString& nickName, quint16 port = 0);
    void Join(const QString& nickName, quint16 port, const QString& host = QStringLiteral("127.0.0.1"));

    QStringList Lines() const;
    QString LastLine() const;
    bool LastLineSelected() const;
    quint16 Port() const { return window->Winsock->LocalPort(); }

    Session session;
    RecordingPrompter prompter;
    std::unique_ptr<Main> window;

private:
    void Accept(bool server, const QString& nickName, quint16 port, const QString& host);
};

// Joins two players over loopback and waits until both show each other's
// nickname. Returns false when that did not happen in time.
bool ConnectPair(Player& server, Player& client, const QString& serverName = QStringLiteral("sv"),
                 const QString& clientName = QStringLiteral("cl"));

}  // namespace torvane::testing
