#pragma once
// The computer's side of the conversation with the game program, without a
// socket or a clock: every received message, the connection opening and the
// one timer firing go in, and what to send, what to print and when to wake
// up next come out.

#include <QString>
#include <QStringList>
#include <optional>

#include "cpu/policy.h"
#include "net/conversation.h"
#include "net/protocol.h"
#include "rules/board_model.h"
#include "rules/repetitions.h"

namespace torvane {

// Whether the computer starts the next game itself once one has ended.
// Alternate starts when the rival started the game that ended; Always also
// starts the first game once the greeting has been exchanged.
enum class StartPolicy { Never, Alternate, Always };

struct PlayerConfig {
    QString name = QStringLiteral("コンピュータ");
    bool isServer = false;
    StartPolicy starts = StartPolicy::Never;
    int moveDelayMs = 600;
    // The rival's program shows whose turn it is only once its start has
    // ended.
    int ownStartWaitMs = conversation::kStartMs;
    // Lets the human see how the game ended before the next start clears
    // the board.
    int nextGameDelayMs = 4000;
};

// Said in chat when the rival's move breaks the rules.
inline const QString kIllegalMoveChat = QStringLiteral("その手は反則です。新しいゲームを始めます");

struct Reply {
    QStringList send;                // messages, in order, one write each
    std::optional<int> wakeAfterMs;  // (re)start the one timer
    QStringList notes;               // for standard output
    QStringList warnings;            // for standard error
};

class CpuPlayer {
public:
    enum class Phase { NoGame, OwnStart, RivalTurn, OwnTurn, RivalWon, Over };

    CpuPlayer(PlayerConfig config, Policy& policy) : config_(std::move(config)), policy_(policy) {}

    Reply onConnected();
    Reply onMessage(const Message& message);
    Reply onWake();

    Phase getPhase() const { return phase_; }
    const BoardModel& board() const { return board_; }
    int wins() const { return wins_; }
    int losses() const { return losses_; }

private:
    enum class Wake { None, Move, StartGame };
    enum class Result { Won, Lost, Draw };

    void onGreeting(const QString& rivalName, Reply& reply);
    void onStart(Reply& reply);
    void onMove(const Message& message, Reply& reply);
    void onFinis(Reply& reply);
    void startOwnGame(Reply& reply);
    void makeMove(Reply& reply);
    void newGame(Turn toMove);
    bool repeatedThirdTime(Turn toMove);
    void endGame(Result result, Reply& reply);
    void schedule(Wake wake, int ms, Reply& reply);
    QString chat(const QString& text) const;

    PlayerConfig config_;
    Policy& policy_;
    BoardModel board_;
    Repetitions repetitions_;
    Phase phase_ = Phase::NoGame;
    Wake wake_ = Wake::None;
    bool rivalStartedLast_ = false;
    QString rivalName_;
    int wins_ = 0;
    int losses_ = 0;
};

}  // namespace torvane
