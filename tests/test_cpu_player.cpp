// The computer's side of the conversation, message by message, without a
// socket: what it sends, when it asks to be woken, and what it counts.
#include <QtTest>
#include <deque>
#include <random>

#include "cpu/cpu_player.h"
#include "rules/winning_line.h"

using torvane::CpuPlayer;
using torvane::Placement;
using torvane::PlayerConfig;
using torvane::StartPolicy;
using torvane::Step;

namespace {

// Plays the steps it is given, in the computer's numbering, and then none.
class ScriptedPolicy : public torvane::Policy {
public:
    explicit ScriptedPolicy(const QString& script) {
        for (const QString& pair : script.split(u' ', Qt::SkipEmptyParts)) {
            steps_.push_back({static_cast<torvane::PointIndex>(pair[0].digitValue()),
                              static_cast<torvane::PointIndex>(pair[1].digitValue())});
        }
    }
    std::optional<Step> Choose(Placement) override {
        if (steps_.empty()) return std::nullopt;
        const Step step = steps_.front();
        steps_.pop_front();
        return step;
    }

private:
    std::deque<Step> steps_;
};

// One thing happening to the player, and what it must answer.
struct Event {
    enum Kind { Connect, Receive, Wake } kind = Receive;
    QString text;      // the received wire text, for Receive
    QStringList sent;  // exactly what goes out, in order
    int wakeMs = -1;   // the timer asked for, -1 for none
    QString note;      // a line that must be printed, if not empty
};

Event In(const QString& text, const QStringList& sent = {}, int wakeMs = -1) {
    return {Event::Receive, text, sent, wakeMs, {}};
}
Event Woken(const QStringList& sent = {}, int wakeMs = -1) { return {Event::Wake, {}, sent, wakeMs, {}}; }
Event Connected(const QStringList& sent) { return {Event::Connect, {}, sent, -1, {}}; }
Event Printed(Event event, const QString& note) {
    event.note = note;
    return event;
}

using Events = QList<Event>;

constexpr int kGames = 40;

const QString kIllegal = "|Speak コンピュータ>>その手は反則です。新しいゲームを始めます";

torvane::Reply Feed(CpuPlayer& player, const Event& event) {
    if (event.kind == Event::Connect) return player.OnConnected();
    if (event.kind == Event::Wake) return player.OnWake();
    torvane::Reply total;
    for (const torvane::Message& message : torvane::CutMessages(event.text, false).messages) {
        const torvane::Reply reply = player.OnMessage(message);
        total.send << reply.send;
        total.notes << reply.notes;
        total.warnings << reply.warnings;
        if (reply.wakeAfterMs) total.wakeAfterMs = reply.wakeAfterMs;
    }
    return total;
}

// The board of a game as both programs see it: the human's stones in the
// human's numbering, the computer's in the computer's.
struct TwoSidedBoard {
    std::array<int, 3> human{6, 7, 8};
    std::array<int, 3> cpu{6, 7, 8};

    bool FreeForHuman(int p) const {
        return std::find(human.begin(), human.end(), p) == human.end() &&
               std::find(cpu.begin(), cpu.end(), 8 - p) == cpu.end();
    }
    static bool Line(const std::array<int, 3>& stones) {
        return torvane::IsWinningLine(
            {torvane::PointIndex(stones[0]), torvane::PointIndex(stones[1]), torvane::PointIndex(stones[2])});
    }
    // Every legal human move as stone, target, source.
    std::vector<std::array<int, 3>> HumanMoves() const {
        std::vector<std::array<int, 3>> moves;
        for (int stone = 0; stone < 3; ++stone) {
            for (int to = 0; to < 9; ++to) {
                if (FreeForHuman(to) && torvane::IsAdjacent(human[stone], to))
                    moves.push_back({stone, to, human[stone]});
            }
        }
        return moves;
    }
};

}  // namespace

Q_DECLARE_METATYPE(Event)

class TestCpuPlayer : public QObject {
    Q_OBJECT
private:
    static void AddConversationColumns();
    static void RunConversation();

private slots:
    void conversation_data();
    void conversation() { RunConversation(); }
    void illegalMove_data();
    void illegalMove() { RunConversation(); }
    void humanMoveIsMirrored_data();
    void humanMoveIsMirrored();
    void repliesAreLegal_data();
    void repliesAreLegal();
};

namespace {

const int never = int(StartPolicy::Never);
const int alternate = int(StartPolicy::Alternate);
const int always = int(StartPolicy::Always);
const QString cpu = "コンピュータ";

}  // namespace

void TestCpuPlayer::AddConversationColumns() {
    QTest::addColumn<int>("starts");
    QTest::addColumn<bool>("isServer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("script");
    QTest::addColumn<Events>("events");
    QTest::addColumn<int>("wins");
    QTest::addColumn<int>("losses");
    QTest::addColumn<int>("warnings");
}

void TestCpuPlayer::conversation_data() {
    AddConversationColumns();
    QTest::newRow("client greets") << never << false << cpu << "" << Events{Connected({"|Cnnct コンピュータ"})} << 0
                                   << 0 << 0;
    QTest::newRow("greeting answered") << never << true << cpu << ""
                                       << Events{Printed(In("|Cnnct 人間", {"|SName コンピュータ"}), "人間")} << 0 << 0
                                       << 0;
    QTest::newRow("empty name reported") << never << false << cpu << "" << Events{In("|SName ")} << 0 << 0 << 1;
    QTest::newRow("chat printed") << never << false << cpu << ""
                                  << Events{Printed(In("|Speak 人間>>よろしく"), "人間>>よろしく")} << 0 << 0 << 0;
    QTest::newRow("start received, waits for the human")
        << never << false << cpu << "" << Events{In("|StrtG "), Woken()} << 0 << 0 << 0;
    QTest::newRow("human move answered after the pause")
        << never << false << cpu << "63" << Events{In("|StrtG "), In("|SetSt 036", {}, 600), Woken({"|SetSt 036"})} << 0
        << 0 << 0;
    // Human 6->3, 7->4, 8->5 in its numbering; the computer 6->3, 3->1 in its own.
    QTest::newRow("human wins, then Finis") << never << false << cpu << "63 31"
                                            << Events{In("|StrtG "),
                                                      In("|SetSt 036", {}, 600),
                                                      Woken({"|SetSt 036"}),
                                                      In("|SetSt 147", {}, 600),
                                                      Woken({"|SetSt 013"}),
                                                      In("|SetSt 258"),
                                                      Printed(In("|Finis "), "wins 0, losses 1")}
                                            << 0 << 1 << 0;
    QTest::newRow("Finis without a winning line still counts")
        << never << false << cpu << "" << Events{In("|StrtG "), In("|Finis ")} << 0 << 1 << 1;
    QTest::newRow("reset zeroes the tally")
        << never << false << cpu << "" << Events{In("|StrtG "), In("|Finis "), In("|Reset ")} << 0 << 0 << 1;
    // The computer fills 3-4-5 while the human wanders off.
    QTest::newRow("win sends SetSt then Finis")
        << always << false << cpu << "63 74 85"
        << Events{In("|SName 人間", {}, 2000),
                  Woken({"|StrtG "}, 3500),
                  Woken({"|SetSt 036"}),
                  In("|SetSt 036", {}, 600),
                  Woken({"|SetSt 147"}),
                  In("|SetSt 013", {}, 600),
                  Printed(Woken({"|SetSt 258", "|Finis "}, 2000), "wins 1, losses 0")}
        << 1 << 0 << 0;
    QTest::newRow("alternate starts after the human's game")
        << alternate << false << cpu << "63"
        << Events{In("|StrtG "), In("|Finis ", {}, 2000), Woken({"|StrtG "}, 3500), Woken({"|SetSt 036"}),
                  In("|Finis ")}
        << 0 << 2 << 2;
    QTest::newRow("never waits after a game")
        << never << false << cpu << "" << Events{In("|StrtG "), In("|Finis "), Woken()} << 0 << 1 << 1;
    QTest::newRow("crossing starts: the server's stands")
        << always << true << cpu << "63"
        << Events{In("|Cnnct 人間", {"|SName コンピュータ"}, 2000), Woken({"|StrtG "}, 3500), In("|StrtG "),
                  Woken({"|SetSt 036"})}
        << 0 << 0 << 0;
    QTest::newRow("crossing starts: the client gives way")
        << always << false << cpu << "63"
        << Events{In("|SName 人間", {}, 2000), Woken({"|StrtG "}, 3500), In("|StrtG "), Woken(),
                  In("|SetSt 036", {}, 600)}
        << 0 << 0 << 0;
    QTest::newRow("a start cancels the pending move")
        << never << false << cpu << "63" << Events{In("|StrtG "), In("|SetSt 036", {}, 600), In("|StrtG "), Woken()}
        << 0 << 0 << 0;
    QTest::newRow("no step left: a new game")
        << never << false << cpu << "" << Events{In("|StrtG "), In("|SetSt 036", {}, 600), Woken({"|StrtG "}, 3500)}
        << 0 << 0 << 1;
}

// Each is answered in chat, and the computer starts a game of its own.
void TestCpuPlayer::illegalMove_data() {
    AddConversationColumns();
    const Events restart = {Woken({"|SetSt 036"})};
    const auto illegal = [&](const char* row, const QString& move) {
        QTest::newRow(row) << never << false << cpu << "63"
                           << (Events{In("|StrtG "), In(move, {kIllegal, "|StrtG "}, 3500)} + restart) << 0 << 0 << 1;
    };
    illegal("wrong source", "|SetSt 035");
    illegal("target taken", "|SetSt 076");
    illegal("not adjacent", "|SetSt 056");
    illegal("no such stone", "|SetSt 336");
    illegal("no such point", "|SetSt 096");
    illegal("no digits", "|SetSt");
    QTest::newRow("no game yet") << never << false << cpu << "63"
                                 << (Events{In("|SetSt 036", {kIllegal, "|StrtG "}, 3500)} + restart) << 0 << 0 << 1;
    QTest::newRow("out of turn")
        << never << false << cpu << "63"
        << (Events{In("|StrtG "), In("|SetSt 036", {}, 600), In("|SetSt 147", {kIllegal, "|StrtG "}, 3500)} + restart)
        << 0 << 0 << 1;
    QTest::newRow("the bar in a name goes out wide")
        << never << false << "A|B"
        << "" << Events{In("|SetSt 036", {"|Speak A｜B>>その手は反則です。新しいゲームを始めます", "|StrtG "}, 3500)}
        << 0 << 0 << 1;
}

void TestCpuPlayer::RunConversation() {
    QFETCH(int, starts);
    QFETCH(bool, isServer);
    QFETCH(QString, name);
    QFETCH(QString, script);
    QFETCH(Events, events);
    QFETCH(int, wins);
    QFETCH(int, losses);
    QFETCH(int, warnings);
    PlayerConfig config;
    config.name = name;
    config.isServer = isServer;
    config.starts = StartPolicy(starts);
    ScriptedPolicy policy(script);
    CpuPlayer player(config, policy);
    int warned = 0;
    for (int i = 0; i < events.size(); ++i) {
        const Event& event = events[i];
        const torvane::Reply reply = Feed(player, event);
        const QByteArray where = "event " + QByteArray::number(i);
        QVERIFY2(reply.send == event.sent, where + ": sent " + reply.send.join(", ").toUtf8());
        QVERIFY2(reply.wakeAfterMs.value_or(-1) == event.wakeMs, where);
        if (!event.note.isEmpty()) QVERIFY2(reply.notes.join("\n").contains(event.note), where);
        warned += int(reply.warnings.size());
    }
    QCOMPARE(player.Wins(), wins);
    QCOMPARE(player.Losses(), losses);
    QCOMPARE(warned, warnings);
}

void TestCpuPlayer::humanMoveIsMirrored_data() {
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("stone");
    QTest::addColumn<int>("point");
    QTest::newRow("left stone up") << "|SetSt 036" << 0 << 5;
    QTest::newRow("middle stone up") << "|SetSt 147" << 1 << 4;
    QTest::newRow("right stone up") << "|SetSt 258" << 2 << 3;
    QTest::newRow("right stone inward") << "|SetSt 248" << 2 << 4;
    QTest::newRow("middle stone diagonal") << "|SetSt 137" << 1 << 5;
}

void TestCpuPlayer::humanMoveIsMirrored() {
    QFETCH(QString, move);
    QFETCH(int, stone);
    QFETCH(int, point);
    ScriptedPolicy policy("");
    CpuPlayer player(PlayerConfig{}, policy);
    Feed(player, In("|StrtG "));
    Feed(player, In(move));
    QCOMPARE(player.GetPhase(), CpuPlayer::Phase::OwnTurn);
    QCOMPARE(int(player.Board().RivalPoint(stone)), point);
    for (int other = 0; other < 3; ++other) {
        if (other != stone) QCOMPARE(int(player.Board().RivalPoint(other)), 2 - other);
    }
}

void TestCpuPlayer::repliesAreLegal_data() {
    QTest::addColumn<int>("level");
    QTest::newRow("perfect") << int(torvane::Level::Perfect);
    QTest::newRow("easy") << int(torvane::Level::Easy);
}

// A random human against the real policies: every reply must be a legal
// move of the computer's own stone, with Finis exactly when it wins.
void TestCpuPlayer::repliesAreLegal() {
    QFETCH(int, level);
    const torvane::Solution solution;
    const auto policy = torvane::MakePolicy(torvane::Level(level), solution, 11);
    CpuPlayer player(PlayerConfig{}, *policy);
    std::mt19937 random(5);
    int replies = 0;
    int ended = 0;
    for (int game = 0; game < kGames; ++game) {
        TwoSidedBoard board;
        Feed(player, In("|StrtG "));
        for (int ply = 0; ply < 60 && player.GetPhase() != CpuPlayer::Phase::Over; ++ply) {
            const auto moves = board.HumanMoves();
            const auto move = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
            board.human[move[0]] = move[1];
            Feed(player, In(torvane::SetStMessage(move[0], move[1], move[2])));
            if (TwoSidedBoard::Line(board.human)) {
                Feed(player, In("|Finis "));
                break;
            }
            const torvane::Reply reply = player.OnWake();
            QVERIFY(!reply.send.isEmpty());
            const torvane::MoveDigits digits = torvane::ReadMoveDigits(QStringView(reply.send[0]).sliced(7));
            QCOMPARE(reply.send[0].left(7), QString("|SetSt "));
            QCOMPARE(digits.source, board.cpu[digits.stone]);
            QVERIFY(board.FreeForHuman(8 - digits.target) && torvane::IsAdjacent(digits.source, digits.target));
            board.cpu[digits.stone] = digits.target;
            QCOMPARE(reply.send.size(), TwoSidedBoard::Line(board.cpu) ? 2 : 1);
            ++replies;
        }
        ended += player.GetPhase() == CpuPlayer::Phase::Over ? 1 : 0;
    }
    QCOMPARE(player.Wins() + player.Losses(), ended);
    QVERIFY(ended > 0 && replies > kGames);
}

QTEST_GUILESS_MAIN(TestCpuPlayer)
#include "test_cpu_player.moc"
