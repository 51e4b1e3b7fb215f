#include "match/match.h"

#include <QStringList>
#include <utility>

#include "match/shown_text.h"
#include "net/conversation.h"

namespace torvane {

// One input: what it changes is told once it is done, nested inputs
// included (a waiting message carried out inside a read).
class Match::Input {
public:
    explicit Input(Match& match) : match_(match) { ++match_.inputDepth_; }
    ~Input() {
        if (--match_.inputDepth_ > 0) return;
        const Changes done = std::exchange(match_.changes_, {});
        if (!done.lines.isEmpty()) emit match_.LinesAdded(done.lines);
        if (done.name) emit match_.RivalNamed(match_.rivalName_);
        if (done.board) emit match_.BoardChanged();
        if (done.state) emit match_.StateChanged();
        if (done.attention) emit match_.AttentionWanted();
    }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

private:
    Match& match_;
};

Match::Match(int startStepMs, QObject* parent) : QObject(parent), start_(new StartSequence(startStepMs, this)) {
    connect(start_, &StartSequence::Blinked, this, [this] {
        Input input(*this);
        changes_.state = true;
    });
    // A start the rival sent before ours ended crosses ours, however late
    // it is read.
    connect(start_, &StartSequence::Due, this, [this] {
        if (!channel_) {
            start_->Finish();
            return;
        }
        channel_->AfterWaiting([self = QPointer<Match>(this)] {
            if (self) self->start_->Finish();
        });
    });
    connect(start_, &StartSequence::Finished, this, [this](StartSequence::Kind kind) {
        Input input(*this);
        FinishStart(kind);
    });
}

void Match::Open(MessageChannel* channel, const QString& ownName, bool isServer) {
    Input input(*this);
    channel_ = channel;
    ownName_ = ownName;
    isServer_ = isServer;
    if (!isServer) SendToRival({GreetingMessage(ownName)});
}

void Match::Close() {
    Input input(*this);
    channel_ = nullptr;
    start_->Finish();
}

// The messages of one read, in order of arrival. What follows a start in
// the same read waits for the start's end, and so do the moves and game
// ends that arrive later during it, with everything after them: reading
// stops until then, so the list, the tally and the board come out as if
// each message had been handled at its turn, and no more than one read ever
// waits. A new start first carries out what waits, as that came before it.
void Match::Receive(const std::vector<Message>& messages) {
    Input input(*this);
    const auto waitsForStart = [](Command command) { return command == Command::Move || command == Command::GameOver; };
    bool afterStart = false;
    for (const Message& message : messages) {
        if (message.command == Command::Start) {
            RunHeld();
            Handle(message);
            afterStart = StartRunning();
        } else if (afterStart || !held_.empty() || (StartRunning() && waitsForStart(message.command))) {
            held_.push_back(message);
            if (channel_) channel_->PauseReading();
        } else {
            Handle(message);
        }
    }
}

void Match::RunHeld() {
    while (!held_.empty()) {
        const Message message = std::move(held_.front());
        held_.pop_front();
        Handle(message);
    }
    if (channel_) channel_->ResumeReading();
}

void Match::Handle(const Message& message) {
    switch (message.command) {
    case Command::Plain:
        changes_.lines << MatchLine{
            message.continued ? MatchLine::Kind::RivalTextGoesOn : MatchLine::Kind::RivalText, {}, message.argument};
        break;
    case Command::Greeting:
    case Command::NameReply: OnName(message); break;
    case Command::Chat: OnChat(message); break;
    case Command::TallyReset:
        tally_ = {};
        changes_.state = true;
        break;
    case Command::Start: OnStart(); break;
    case Command::Move: OnMove(message); break;
    case Command::GameOver: EndGame(false); break;
    }
}

// A name is shown cut, and grows with its continuation until it is. The
// greeting is answered with the own name, once.
void Match::OnName(const Message& message) {
    if (message.command == Command::NameReply && message.argument.isEmpty() && !message.continued) {
        AddNotice(Notice::NoName);
        return;
    }
    if (!message.continued) {
        rivalName_ = CutText(message.argument, kMaxNameLength);
    } else if (rivalName_.size() <= kMaxNameLength) {
        rivalName_ = CutText(rivalName_ + message.argument, kMaxNameLength);
    }
    changes_.name = true;
    if (message.command == Command::Greeting && !message.continued) SendToRival({NameReplyMessage(ownName_)});
}

void Match::OnChat(const Message& message) {
    if (message.argumentMissing) {
        AddNotice(Notice::NoChat);
        return;
    }
    const bool goesOn = message.continued;
    changes_.lines << MatchLine{
        goesOn ? MatchLine::Kind::RivalTextGoesOn : MatchLine::Kind::RivalText, {}, message.argument};
    changes_.attention = changes_.attention || !goesOn;
}

// The rival's start, unless it crosses ours and ours stands.
void Match::OnStart() {
    if (StartRunning() && start_->Current() == StartSequence::Kind::Own && conversation::OwnStartStands(isServer_)) {
        return;
    }
    BeginStart(StartSequence::Kind::Received);
    changes_.attention = true;
}

// The rival's move, in the rival's numbering, taken as it comes: the local
// board is not checked against it. Either way it is now this player's turn.
void Match::OnMove(const Message& message) {
    if (message.argumentMissing) {
        AddNotice(Notice::NoMove);
        return;
    }
    const MoveDigits move = ReadMoveDigits(message.argument);
    board_.ApplyRivalMove(move.stone, move.target, move.source);
    board_.SetTurn(Turn::Own);
    changes_.board = changes_.state = changes_.attention = true;
}

void Match::Start() {
    Input input(*this);
    if (StartRunning()) return;
    if (!SendToRival({StartMessage()})) return;
    BeginStart(StartSequence::Kind::Own);
}

// Both rows back on their start points, nobody to move and the banner
// blinking; a sequence already running begins anew.
void Match::BeginStart(StartSequence::Kind kind) {
    board_.Reset();
    board_.SetTurn(Turn::None);
    banner_ = Banner::Start;
    start_->Begin(kind);
    changes_.board = changes_.state = true;
}

// The player who started moves first, unless the rival has moved meanwhile:
// then it is this player's turn, whoever started.
void Match::FinishStart(StartSequence::Kind kind) {
    const bool own = kind == StartSequence::Kind::Own;
    gameRunning_ = true;
    banner_ = Banner::None;
    if (own || board_.GetTurn() != Turn::Own) board_.SetTurn(own ? Turn::Own : Turn::Rival);
    AddNotice(own ? Notice::OwnFirst : Notice::RivalFirst);
    changes_.state = true;
    RunHeld();
}

// Any button lifts the stone; its point counts as free while it is held.
void Match::Lift(int stone) {
    Input input(*this);
    board_.Lift(stone);
    changes_.board = true;
}

void Match::PutBack() {
    Input input(*this);
    board_.PutBack();
    changes_.board = true;
}

// The caller has checked that the point can be taken.
void Match::Place(PointIndex target) {
    Input input(*this);
    const PointIndex from = board_.PickedPoint();
    const int stone = *board_.LiftedStone();
    board_.Place(target);
    const bool won = board_.HasThreeInRow();
    board_.SetTurn(won ? Turn::None : Turn::Rival);
    changes_.board = changes_.state = true;
    QStringList messages = {MoveMessage(stone, target, from)};
    if (won) messages << GameOverMessage();
    SendToRival(messages);
    if (won) EndGame(true);
}

// The game is over on this screen, and a stone in hand goes back to its
// point.
void Match::EndGame(bool won) {
    AddNotice(won ? Notice::Won : Notice::Lost);
    board_.PutBack();
    board_.SetTurn(Turn::None);
    banner_ = won ? Banner::Won : Banner::Lost;
    quint64& count = won ? tally_.wins : tally_.losses;
    count = CountedUp(count);
    gameRunning_ = false;
    changes_.board = changes_.state = true;
    changes_.attention = changes_.attention || !won;
}

void Match::ResetTally() {
    Input input(*this);
    tally_ = {};
    changes_.state = true;
    SendToRival({TallyResetMessage()});
}

bool Match::Chat(const QString& text) {
    Input input(*this);
    if (text.isEmpty()) return false;
    const QString line = ChatLine(ownName_, text);
    if (!SendToRival({ChatMessage(line)})) return false;
    changes_.lines << MatchLine{MatchLine::Kind::OwnChat, {}, line};
    return true;
}

// The messages of one action of the player. Without a connection nothing
// goes out and the player is told once.
bool Match::SendToRival(const QStringList& messages) {
    if (!channel_) {
        AddNotice(Notice::NotConnected);
        return false;
    }
    for (const QString& message : messages) channel_->Send(message);
    return true;
}

void Match::AddNotice(Notice notice) { changes_.lines << MatchLine{MatchLine::Kind::Notice, notice, {}}; }

}  // namespace torvane
