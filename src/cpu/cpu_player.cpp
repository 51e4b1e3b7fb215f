#include "cpu/cpu_player.h"

namespace torvane {

namespace {

QString faultText(MoveFault fault) {
    switch (fault) {
    case MoveFault::NoSuchStone: return QStringLiteral("no such stone");
    case MoveFault::NotOnSource: return QStringLiteral("the stone does not stand on the source point");
    case MoveFault::NoSuchTarget: return QStringLiteral("no such target point");
    case MoveFault::Taken: return QStringLiteral("the target point is taken");
    case MoveFault::NotAdjacent: return QStringLiteral("the target is not next to the source");
    }
    return {};
}

}  // namespace

Reply CpuPlayer::onConnected() {
    Reply reply;
    reply.send << greetingMessage(config_.name);
    return reply;
}

Reply CpuPlayer::onMessage(const Message& message) {
    Reply reply;
    switch (message.command) {
    case Command::Plain: reply.notes << QStringLiteral("text: ") + message.argument; break;
    case Command::Greeting:
        reply.send << nameReplyMessage(config_.name);
        onGreeting(message.argument, reply);
        break;
    case Command::NameReply: onGreeting(message.argument, reply); break;
    case Command::Chat:
        if (message.argumentMissing)
            reply.warnings << QStringLiteral("an empty chat message arrived");
        else
            reply.notes << QStringLiteral("chat: ") + message.argument;
        break;
    case Command::TallyReset:
        wins_ = losses_ = 0;
        policy_.tallyReset();
        reply.notes << QStringLiteral("tally reset: wins 0, losses 0");
        break;
    case Command::Start: onStart(reply); break;
    case Command::Move: onMove(message, reply); break;
    case Command::GameOver: onFinis(reply); break;
    }
    return reply;
}

void CpuPlayer::onGreeting(const QString& rivalName, Reply& reply) {
    rivalName_ = rivalName;
    if (rivalName.isEmpty()) reply.warnings << QStringLiteral("the rival sent no name");
    reply.notes << QStringLiteral("playing against ") + rivalName;
    if (config_.starts == StartPolicy::Always && phase_ == Phase::NoGame) {
        schedule(Wake::StartGame, config_.nextGameDelayMs, reply);
    }
}

void CpuPlayer::onStart(Reply& reply) {
    if (phase_ == Phase::OwnStart && conversation::ownStartStands(config_.isServer)) {
        reply.notes << QStringLiteral("the rival's start crossed ours; ours stands");
        return;
    }
    newGame(Turn::Rival);
    phase_ = Phase::RivalTurn;
    wake_ = Wake::None;
    rivalStartedLast_ = true;
    reply.notes << QStringLiteral("new game: the rival moves first");
}

void CpuPlayer::onMove(const Message& message, Reply& reply) {
    if (phase_ == Phase::Over) {
        // The rival moved before the end of the game reached it; the move
        // belongs to no game and breaks nothing.
        reply.warnings << QStringLiteral("a move arrived after the game ended; left alone");
        return;
    }
    std::optional<QString> fault;
    const MoveDigits move = readMoveDigits(message.argument);
    if (message.argumentMissing)
        fault = QStringLiteral("the move has no digits");
    else if (phase_ != Phase::RivalTurn)
        fault = QStringLiteral("it is not the rival's turn");
    else if (const auto broken = board_.rivalMoveFault(move.stone, move.target, move.source))
        fault = faultText(*broken);
    if (fault) {
        reply.warnings << QStringLiteral("illegal move \"%1\": %2").arg(message.argument, *fault);
        reply.send << chatMessage(chat(kIllegalMoveChat));
        startOwnGame(reply);
        return;
    }
    board_.applyRivalMove(move.stone, move.target, move.source);
    if (board_.rivalHasThreeInRow()) {
        phase_ = Phase::RivalWon;
        return;
    }
    if (repeatedThirdTime(Turn::Own)) {
        endGame(Result::Draw, reply);
        return;
    }
    phase_ = Phase::OwnTurn;
    schedule(Wake::Move, config_.moveDelayMs, reply);
}

// The game program counts the rival's report of a win as it stands; so does
// the computer, but says so when the board does not bear it out.
void CpuPlayer::onFinis(Reply& reply) {
    if (phase_ != Phase::RivalWon) {
        reply.warnings << QStringLiteral("the rival reports a win its last move did not make; counted all the same");
    }
    endGame(Result::Lost, reply);
}

Reply CpuPlayer::onWake() {
    Reply reply;
    const Wake wake = wake_;
    wake_ = Wake::None;
    if (wake == Wake::Move) makeMove(reply);
    if (wake == Wake::StartGame) startOwnGame(reply);
    return reply;
}

void CpuPlayer::startOwnGame(Reply& reply) {
    reply.send << startMessage();
    newGame(Turn::Own);
    phase_ = Phase::OwnStart;
    rivalStartedLast_ = false;
    reply.notes << QStringLiteral("new game: the computer moves first");
    schedule(Wake::Move, config_.ownStartWaitMs, reply);
}

// A side with no step is never met in a game (such boards are all won
// already), but should the board ever get there the game is started anew.
void CpuPlayer::makeMove(Reply& reply) {
    const Placement placement = placementOf(board_);
    const std::optional<Step> step = policy_.choose(placement);
    if (!step) {
        reply.warnings << QStringLiteral("the computer has no legal step; starting a new game");
        startOwnGame(reply);
        return;
    }
    const bool wins = stepWins(placement, *step);
    const int stone = board_.moveOwn(step->from, step->to);
    reply.send << moveMessage(stone, step->to, step->from);
    if (wins) {
        reply.send << gameOverMessage();
        endGame(Result::Won, reply);
    } else if (repeatedThirdTime(Turn::Rival)) {
        endGame(Result::Draw, reply);
    } else {
        phase_ = Phase::RivalTurn;
    }
}

void CpuPlayer::newGame(Turn toMove) {
    board_.reset();
    repetitions_.clear();
    repetitions_.record(board_, toMove);
}

// The rival's program counts the same moves and sees the draw too.
bool CpuPlayer::repeatedThirdTime(Turn toMove) { return repetitions_.record(board_, toMove) >= Repetitions::kDrawAt; }

// A draw counts for neither side, and the level stays where it is.
void CpuPlayer::endGame(Result result, Reply& reply) {
    phase_ = Phase::Over;
    wake_ = Wake::None;
    if (result == Result::Draw) {
        reply.notes << QStringLiteral("game over, a draw: the same position stood a third time");
    } else {
        const bool won = result == Result::Won;
        ++(won ? wins_ : losses_);
        policy_.gameOver(won);
        const QString winner = won ? config_.name : rivalName_;
        reply.notes << QStringLiteral("game over, %1 wins: wins %2, losses %3").arg(winner).arg(wins_).arg(losses_);
    }
    const bool startNext =
        config_.starts == StartPolicy::Always || (config_.starts == StartPolicy::Alternate && rivalStartedLast_);
    if (startNext) schedule(Wake::StartGame, config_.nextGameDelayMs, reply);
}

void CpuPlayer::schedule(Wake wake, int ms, Reply& reply) {
    wake_ = wake;
    reply.wakeAfterMs = ms;
}

QString CpuPlayer::chat(const QString& text) const { return chatLine(config_.name, text); }

}  // namespace torvane
