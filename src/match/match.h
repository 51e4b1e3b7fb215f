#pragma once
// One match against one rival as this player sees it, with no widgets: the
// board, whose turn it is, the tally, the start of each game, and what each
// message of the rival means. The window forwards what the player does and
// shows what this object says has changed; the connection brings what the
// rival sent and carries what this object sends (see Lobby).
//
// Changes are told once per input (a read, an action of the player, a step
// of the start), after the input has been handled: a run of starts or game
// ends in one read costs the screen no more than its last one.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "match/start_sequence.h"
#include "match/tally.h"
#include "net/message_channel.h"
#include "net/protocol.h"
#include "rules/board_model.h"
#include "rules/repetitions.h"

namespace torvane {

// What the match tells the player in a fixed line of the message list.
enum class Notice { OwnFirst, RivalFirst, Won, Lost, Draw, NoName, NoChat, NoMove, NotConnected };

// One line for the message list: a notice, the player's own chat line, or
// text from the rival, which may go on in later lines (see MessageReader).
//
// The rival's move comes among the lines, in its turn, for a screen reader
// to tell; the list does not show it.
struct MatchLine {
    enum class Kind { Notice, OwnChat, RivalText, RivalTextGoesOn, RivalMove };
    Kind kind = Kind::Notice;
    Notice notice = Notice::NotConnected;
    QString text;
    PointMove move{};
};

// The picture over the board: the start blinking, or how a game ended.
enum class Banner { None, Start, Won, Lost, Draw };

// What the window shows besides the board and the lines.
struct MatchState {
    Banner banner = Banner::None;
    bool bannerShown = false;
    // A start is blinking; the game it starts has not begun.
    bool startRunning = false;
    // A game has begun and not yet ended.
    bool gameRunning = false;
    Tally tally;
    // The three stones that won the last game, in this numbering.
    std::optional<std::array<PointIndex, kStoneCount>> winningStones;
};

class Match : public QObject {
    Q_OBJECT
public:
    // How long the banner of a game's end is shown before it steps aside
    // from the stones that won.
    static constexpr int kEndBannerMs = 2000;

    // `startStepMs` is shortened in tests only.
    explicit Match(int startStepMs = conversation::kStartStepMs, QObject* parent = nullptr);

    // A connection to the rival is open, with this player as server or
    // client under `ownName`; a client greets at once. A connection after
    // an earlier one starts from a clean board; the tally goes on if the
    // same rival comes back and starts from zero with another.
    void open(MessageChannel* channel, const QString& ownName, bool isServer);
    // The connection is gone: nothing more is sent, and a start waits no more.
    void close();
    // The window closes: a running start ends where it stands.
    void stop() { start_->stop(); }
    void receive(const std::vector<Message>& messages);

    // What the player does. A start during a game gives that game up; it
    // counts for neither side.
    void start();
    void lift(int stone);
    // The caller has checked board().canPlace(target).
    void place(PointIndex target);
    void putBack();
    void resetTally();
    // The player typed into the tally boxes.
    void setTally(const Tally& tally) { tally_ = tally; }
    // False, keeping nothing, when there is nobody to send it to.
    bool chat(const QString& text);

    const BoardModel& board() const { return board_; }
    MatchState state() const;

signals:
    void boardChanged();
    // Whose turn it is, whether a game runs, the banner, the tally.
    void stateChanged();
    void rivalNamed(const QString& name);
    void linesAdded(const QList<torvane::MatchLine>& lines);
    // Something happened the player may want to look at.
    void attentionWanted();

private:
    class Input;

    void handle(const Message& message);
    void onName(const Message& message);
    void onStart();
    void onMove(const Message& message);
    void beginStart(StartSequence::Kind kind);
    void finishStart(StartSequence::Kind kind);
    void runHeld();
    // A third time the same position stands with `toMove` to move draws.
    void countPosition(Turn toMove);
    void endGame(Banner result);
    bool sendToRival(const QStringList& messages);

    StartSequence* start_;
    QTimer endBanner_;
    BoardModel board_;
    Repetitions repetitions_;
    Tally tally_;
    Banner banner_ = Banner::None;
    bool endBannerShown_ = false;
    std::optional<std::array<PointIndex, kStoneCount>> winningStones_;
    bool gameRunning_ = false;
    QString rivalName_;
    // The rival of the connection before, whose tally this one keeps if it
    // comes back; no value before a first connection.
    std::optional<QString> earlierRival_;
    QString ownName_;
    bool isServer_ = false;
    MessageChannel* channel_ = nullptr;
    // Received during a start and carried out when it ends.
    std::deque<Message> held_;

    // What changed during the input being handled, told when it is done.
    struct Changes {
        bool board = false;
        bool state = false;
        bool name = false;
        bool attention = false;
        QList<MatchLine> lines;
    };
    Changes changes_;
    int inputDepth_ = 0;
};

}  // namespace torvane
