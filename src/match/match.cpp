#include "match/match.h"

#include <QStringList>
#include <utility>

#include "match/shown_text.h"
#include "net/conversation.h"

namespace torvane {

namespace {

MatchLine noticeLine(Notice notice) { return {MatchLine::Kind::Notice, notice, {}}; }

MatchLine textLine(const Message& message) {
    return {message.continued ? MatchLine::Kind::RivalTextGoesOn : MatchLine::Kind::RivalText, {}, message.argument};
}

}  // namespace

// One input: what it changes is told once it is done, nested inputs
// included (a waiting message carried out inside a read).
class Match::Input {
public:
    explicit Input(Match& match) : match_(match) { ++match_.inputDepth_; }
    ~Input() {
        if (--match_.inputDepth_ > 0) return;
        const Changes done = std::exchange(match_.changes_, {});
        if (!done.lines.isEmpty()) emit match_.linesAdded(done.lines);
        if (done.name) emit match_.rivalNamed(match_.rivalName_);
        if (done.board) emit match_.boardChanged();
        if (done.state) emit match_.stateChanged();
        if (done.attention) emit match_.attentionWanted();
    }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

private:
    Match& match_;
};

Match::Match(int startStepMs, QObject* parent) : QObject(parent), start_(new StartSequence(startStepMs, this)) {
    connect(start_, &StartSequence::blinked, this, [this] {
        Input input(*this);
        changes_.state = true;
    });
    // A start the rival sent before ours ended crosses ours, however late
    // it is read.
    connect(start_, &StartSequence::due, this, [this] {
        if (!channel_) {
            start_->finish();
            return;
        }
        channel_->afterWaiting([self = QPointer<Match>(this)] {
            if (self) self->start_->finish();
        });
    });
    connect(start_, &StartSequence::finished, this, [this](StartSequence::Kind kind) {
        Input input(*this);
        finishStart(kind);
    });
    endBanner_.setSingleShot(true);
    endBanner_.setInterval(kEndBannerMs);
    connect(&endBanner_, &QTimer::timeout, this, [this] {
        Input input(*this);
        endBannerShown_ = false;
        changes_.state = true;
    });
}

void Match::open(MessageChannel* channel, const QString& ownName, bool isServer) {
    Input input(*this);
    if (earlierRival_) {
        start_->stop();
        held_.clear();
        board_.reset();
        board_.setTurn(Turn::None);
        banner_ = Banner::None;
        winningStones_.reset();
        gameRunning_ = false;
        changes_.board = changes_.state = true;
    }
    earlierRival_ = rivalName_;
    channel_ = channel;
    ownName_ = ownName;
    isServer_ = isServer;
    if (!isServer) sendToRival({greetingMessage(ownName)});
}

void Match::close() {
    Input input(*this);
    channel_ = nullptr;
    start_->finish();
}

// The messages of one read, in order of arrival. What follows a start in
// the same read waits for the start's end, and so do the moves and game
// ends that arrive later during it, with everything after them: reading
// stops until then, so the list, the tally and the board come out as if
// each message had been handled at its turn, and no more than one read ever
// waits. A new start first carries out what waits, as that came before it.
void Match::receive(const std::vector<Message>& messages) {
    Input input(*this);
    const auto waitsForStart = [](Command command) { return command == Command::Move || command == Command::GameOver; };
    bool afterStart = false;
    for (const Message& message : messages) {
        if (message.command == Command::Start) {
            runHeld();
            handle(message);
            afterStart = start_->running();
        } else if (afterStart || !held_.empty() || (start_->running() && waitsForStart(message.command))) {
            held_.push_back(message);
            if (channel_) channel_->pauseReading();
        } else {
            handle(message);
        }
    }
}

void Match::runHeld() {
    while (!held_.empty()) {
        const Message message = std::move(held_.front());
        held_.pop_front();
        handle(message);
    }
    if (channel_) channel_->resumeReading();
}

void Match::handle(const Message& message) {
    switch (message.command) {
    case Command::Plain: changes_.lines << textLine(message); break;
    case Command::Greeting:
    case Command::NameReply: onName(message); break;
    case Command::Chat:
        changes_.lines << (message.argumentMissing ? noticeLine(Notice::NoChat) : textLine(message));
        changes_.attention = changes_.attention || !(message.continued || message.argumentMissing);
        break;
    case Command::TallyReset:
        tally_ = {};
        changes_.state = true;
        break;
    case Command::Start: onStart(); break;
    case Command::Move: onMove(message); break;
    case Command::GameOver: endGame(Banner::Lost); break;
    }
}

// A name is shown cut, and grows with its continuation until it is. The
// greeting is answered with the own name, once.
void Match::onName(const Message& message) {
    if (message.command == Command::NameReply && message.argument.isEmpty() && !message.continued) {
        changes_.lines << noticeLine(Notice::NoName);
        return;
    }
    if (!message.continued) {
        rivalName_ = cutText(message.argument, kMaxNameLength);
        if (earlierRival_ && !earlierRival_->isEmpty() && *earlierRival_ != rivalName_) {
            tally_ = {};
            changes_.state = true;
        }
    } else if (rivalName_.size() <= kMaxNameLength) {
        rivalName_ = cutText(rivalName_ + message.argument, kMaxNameLength);
    }
    changes_.name = true;
    if (message.command == Command::Greeting && !message.continued) sendToRival({nameReplyMessage(ownName_)});
}

// The rival's start, unless it crosses ours and ours stands.
void Match::onStart() {
    if (start_->running() && start_->current() == StartSequence::Kind::Own && conversation::ownStartStands(isServer_)) {
        return;
    }
    beginStart(StartSequence::Kind::Received);
    changes_.attention = true;
}

// The rival's move, in the rival's numbering, taken as it comes: the local
// board is not checked against it. Either way it is now this player's turn.
void Match::onMove(const Message& message) {
    if (message.argumentMissing) {
        changes_.lines << noticeLine(Notice::NoMove);
        return;
    }
    const MoveDigits move = readMoveDigits(message.argument);
    if (board_.applyRivalMove(move.stone, move.target, move.source))
        changes_.lines << MatchLine{MatchLine::Kind::RivalMove, {}, {}, *board_.lastRivalMove()};
    board_.setTurn(Turn::Own);
    changes_.board = changes_.state = changes_.attention = true;
    countPosition(Turn::Own);
}

void Match::countPosition(Turn toMove) {
    if (gameRunning_ && repetitions_.record(board_, toMove) >= Repetitions::kDrawAt) endGame(Banner::Draw);
}

void Match::start() {
    Input input(*this);
    if (start_->running()) return;
    if (!sendToRival({startMessage()})) return;
    beginStart(StartSequence::Kind::Own);
}

// Both rows back on their start points, nobody to move and the banner
// blinking; a sequence already running begins anew.
void Match::beginStart(StartSequence::Kind kind) {
    board_.reset();
    board_.setTurn(Turn::None);
    banner_ = Banner::Start;
    endBanner_.stop();
    winningStones_.reset();
    start_->begin(kind);
    changes_.board = changes_.state = true;
}

// The player who started moves first, unless the rival has moved meanwhile:
// then it is this player's turn, whoever started.
void Match::finishStart(StartSequence::Kind kind) {
    const bool own = kind == StartSequence::Kind::Own;
    gameRunning_ = true;
    banner_ = Banner::None;
    if (own || board_.getTurn() != Turn::Own) board_.setTurn(own ? Turn::Own : Turn::Rival);
    changes_.lines << noticeLine(own ? Notice::OwnFirst : Notice::RivalFirst);
    changes_.state = true;
    repetitions_.clear();
    repetitions_.record(board_, board_.getTurn());
    runHeld();
}

// Any button lifts the stone; its point counts as free while it is held.
void Match::lift(int stone) {
    Input input(*this);
    board_.lift(stone);
    changes_.board = true;
}

void Match::putBack() {
    Input input(*this);
    board_.putBack();
    changes_.board = true;
}

// The caller has checked that the point can be taken.
void Match::place(PointIndex target) {
    Input input(*this);
    const PointIndex from = board_.pickedPoint();
    const int stone = *board_.liftedStone();
    board_.place(target);
    const bool won = board_.hasThreeInRow();
    board_.setTurn(won ? Turn::None : Turn::Rival);
    changes_.board = changes_.state = true;
    QStringList messages = {moveMessage(stone, target, from)};
    if (won) messages << gameOverMessage();
    sendToRival(messages);
    if (won) {
        endGame(Banner::Won);
    } else {
        countPosition(Turn::Rival);
    }
}

// The game is over on this screen, and a stone in hand goes back to its
// point. The stones that won are marked, and the banner steps aside from
// them after a while. A draw counts for neither side.
void Match::endGame(Banner result) {
    changes_.lines << noticeLine(result == Banner::Won    ? Notice::Won
                                 : result == Banner::Lost ? Notice::Lost
                                                          : Notice::Draw);
    board_.putBack();
    board_.setTurn(Turn::None);
    banner_ = result;
    endBannerShown_ = true;
    endBanner_.start();
    winningStones_.reset();
    if (result == Banner::Won) {
        tally_.wins = countedUp(tally_.wins);
        winningStones_ = {board_.ownStone(0), board_.ownStone(1), board_.ownStone(2)};
    } else if (result == Banner::Lost) {
        tally_.losses = countedUp(tally_.losses);
        if (board_.rivalHasThreeInRow())
            winningStones_ = {board_.rivalStone(0), board_.rivalStone(1), board_.rivalStone(2)};
    }
    gameRunning_ = false;
    changes_.board = changes_.state = true;
    changes_.attention = changes_.attention || result != Banner::Won;
}

void Match::resetTally() {
    Input input(*this);
    tally_ = {};
    changes_.state = true;
    sendToRival({tallyResetMessage()});
}

bool Match::chat(const QString& text) {
    Input input(*this);
    if (text.isEmpty()) return false;
    const QString line = chatLine(ownName_, text);
    if (!sendToRival({chatMessage(line)})) return false;
    changes_.lines << MatchLine{MatchLine::Kind::OwnChat, {}, line};
    return true;
}

MatchState Match::state() const {
    const bool starting = start_->running();
    const bool shown = starting ? start_->bannerShown() : banner_ != Banner::None && endBannerShown_;
    return {banner_, shown, starting, gameRunning_, tally_, winningStones_};
}

// The messages of one action of the player. Without a connection nothing
// goes out and the player is told once.
bool Match::sendToRival(const QStringList& messages) {
    if (!channel_) {
        changes_.lines << noticeLine(Notice::NotConnected);
        return false;
    }
    for (const QString& message : messages) channel_->send(message);
    return true;
}

}  // namespace torvane
