// The computer's side of the conversation, message by message, without a
// socket: what it sends, when it asks to be woken, and what it counts.
#include <QtTest>
#include <random>

#include "cpu/cpu_player.h"
#include "rules/winning_line.h"

using namespace torvane;

namespace {

// Plays the steps it is given ("63 31": 6 -> 3, then 3 -> 1) in the
// computer's numbering, and then none.
class ScriptedPolicy : public Policy {
public:
    explicit ScriptedPolicy(QString script) : digits_(script.remove(u' ')) {}
    std::optional<Step> Choose(Placement) override {
        if (next_ + 2 > digits_.size()) return std::nullopt;
        next_ += 2;
        return Step{PointIndex(digits_[next_ - 2].digitValue()), PointIndex(digits_[next_ - 1].digitValue())};
    }

private:
    QString digits_;
    qsizetype next_ = 0;
};

// Wire text received (or the timer firing), and exactly what must be sent
// and which timer asked for (-1: none).
struct Event {
    bool wake = false;
    QString text;
    QStringList sent;
    int wakeMs = -1;
};
using Events = QList<Event>;

Event In(const QString& text, const QStringList& sent = {}, int wakeMs = -1) { return {false, text, sent, wakeMs}; }
Event Woken(const QStringList& sent = {}, int wakeMs = -1) { return {true, {}, sent, wakeMs}; }

const QString kIllegal = "|Speak コンピュータ>>その手は反則です。新しいゲームを始めます";
constexpr int kGames = 40;

// Each event holds one message.
Reply Feed(CpuPlayer& player, const Event& event) {
    return event.wake ? player.OnWake() : player.OnMessage(CutMessages(event.text, false).messages.at(0));
}

// The tally is wins, losses and warnings at the end.
void Row(const char* name, const PlayerConfig& config, const QString& script, const QList<int>& tally,
         const Events& events) {
    QTest::newRow(name) << config << script << tally << events;
}

// A game as both programs see it: the human's stones in the human's
// numbering, the computer's in the computer's.
struct TwoSidedBoard {
    std::array<int, 3> human{6, 7, 8};
    std::array<int, 3> cpu{6, 7, 8};

    bool FreeForHuman(int p) const {
        return std::count(human.begin(), human.end(), p) + std::count(cpu.begin(), cpu.end(), 8 - p) == 0;
    }
    // Every legal human move as stone, target, source.
    std::vector<std::array<int, 3>> HumanMoves() const {
        std::vector<std::array<int, 3>> moves;
        for (int stone = 0; stone < 3; ++stone) {
            for (int to = 0; to < 9; ++to) {
                if (FreeForHuman(to) && IsAdjacent(human[stone], to)) moves.push_back({stone, to, human[stone]});
            }
        }
        return moves;
    }
};

bool Line(const std::array<int, 3>& s) { return IsWinningLine({PointIndex(s[0]), PointIndex(s[1]), PointIndex(s[2])}); }

}  // namespace

Q_DECLARE_METATYPE(Event)
Q_DECLARE_METATYPE(torvane::PlayerConfig)

class TestCpuPlayer : public QObject {
    Q_OBJECT
private slots:
    void conversation_data() {
        QTest::addColumn<PlayerConfig>("config");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<int>>("tally");
        QTest::addColumn<Events>("events");
        const PlayerConfig always{.starts = StartPolicy::Always};
        // Human 6->3, 7->4, 8->5 in its numbering; the computer 6->3, 3->1 in its own.
        Row("start waits for the human, who wins", {}, "63 31", {0, 1, 0},
            {In("|StrtG "), Woken(), In("|SetSt 036", {}, 600), Woken({"|SetSt 036"}), In("|SetSt 147", {}, 600),
             Woken({"|SetSt 013"}), In("|SetSt 258"), In("|Finis ")});
        Row("reset zeroes the tally", {}, "", {0, 0, 1}, {In("|StrtG "), In("|Finis "), In("|Reset ")});
        // The computer fills 3-4-5 while the human wanders off; a rival with no
        // name is warned of and played all the same.
        Row("win sends SetSt then Finis", always, "63 74 85", {1, 0, 1},
            {In("|SName ", {}, 2000), Woken({"|StrtG "}, 3500), Woken({"|SetSt 036"}), In("|SetSt 036", {}, 600),
             Woken({"|SetSt 147"}), In("|SetSt 013", {}, 600), Woken({"|SetSt 258", "|Finis "}, 2000)});
        Row("alternate starts after the human's game only", {.starts = StartPolicy::Alternate}, "63", {0, 2, 2},
            {In("|StrtG "), In("|Finis ", {}, 2000), Woken({"|StrtG "}, 3500), Woken({"|SetSt 036"}), In("|Finis ")});
        Row("greeting answered, crossing starts: the server's stands",
            {.isServer = true, .starts = StartPolicy::Always}, "63", {0, 0, 0},
            {In("|Cnnct 人間", {"|SName コンピュータ"}, 2000), Woken({"|StrtG "}, 3500), In("|StrtG "),
             Woken({"|SetSt 036"})});
        Row("crossing starts: the client gives way", always, "63", {0, 0, 0},
            {In("|SName 人間", {}, 2000), Woken({"|StrtG "}, 3500), In("|StrtG "), Woken(), In("|SetSt 036", {}, 600)});
        Row("a start cancels the pending move", {}, "63", {0, 0, 0},
            {In("|StrtG "), In("|SetSt 036", {}, 600), In("|StrtG "), Woken()});
        Row("no step left: a new game", {}, "", {0, 0, 1},
            {In("|StrtG "), In("|SetSt 036", {}, 600), Woken({"|StrtG "}, 3500)});
        // Each is answered in chat, and the computer starts a game of its own.
        const auto illegal = [](const char* name, const Events& before, const QString& move) {
            Row(name, {}, "63", {0, 0, 1},
                before + Events{In(move, {kIllegal, "|StrtG "}, 3500), Woken({"|SetSt 036"})});
        };
        const Events started{In("|StrtG ")};
        illegal("wrong source", started, "|SetSt 035");
        illegal("target taken", started, "|SetSt 076");
        illegal("not adjacent", started, "|SetSt 056");
        illegal("no such stone", started, "|SetSt 336");
        illegal("no such point", started, "|SetSt 096");
        illegal("no digits", started, "|SetSt");
        illegal("no game yet", {}, "|SetSt 036");
        illegal("out of turn", {In("|StrtG "), In("|SetSt 036", {}, 600)}, "|SetSt 147");
        Row("the bar in a name goes out wide", {.name = "A|B"}, "", {0, 0, 1},
            {In("|SetSt 036", {"|Speak A｜B>>その手は反則です。新しいゲームを始めます", "|StrtG "}, 3500)});
    }

    void conversation() {
        QFETCH(PlayerConfig, config);
        QFETCH(QString, script);
        QFETCH(QList<int>, tally);
        QFETCH(Events, events);
        ScriptedPolicy policy(script);
        CpuPlayer player(config, policy);
        int warned = 0;
        for (int i = 0; i < events.size(); ++i) {
            const Reply reply = Feed(player, events[i]);
            const int wakeMs = reply.wakeAfterMs.value_or(-1);
            QVERIFY2(reply.send == events[i].sent && wakeMs == events[i].wakeMs,
                     qPrintable(QString("event %1: sent %2, wake %3").arg(i).arg(reply.send.join(", ")).arg(wakeMs)));
            warned += int(reply.warnings.size());
        }
        QCOMPARE((QList<int>{player.Wins(), player.Losses(), warned}), tally);
    }

    // The level after a run of results: p the player won, c the computer
    // won, r the tally was reset.
    void adaptiveLevelFollowsTheTally_data() {
        QTest::addColumn<QString>("results");
        QTest::addColumn<int>("level");
        QTest::newRow("first game") << "" << 3;
        QTest::newRow("player wins, up one") << "p" << 4;
        QTest::newRow("never above perfect") << "pppp" << kPerfectLevel;
        QTest::newRow("never below easy") << "cccc" << kEasiestLevel;
        QTest::newRow("one each") << "pc" << 3;
        QTest::newRow("reset goes back") << "ppr" << 3;
    }

    void adaptiveLevelFollowsTheTally() {
        QFETCH(QString, results);
        QFETCH(int, level);
        const Solution solution;
        AdaptivePolicy policy(solution, 1);
        for (const QChar result : results) {
            if (result == u'r') {
                policy.TallyReset();
            } else {
                policy.GameOver(result == u'c');
            }
        }
        QCOMPARE(policy.Level(), level);
    }

    void randomGames_data() {
        QTest::addColumn<int>("level");
        QTest::newRow("perfect") << kPerfectLevel;
        QTest::newRow("easy") << kEasiestLevel;
    }

    // A random human against the real policies: every human move lands on the
    // mirrored point, every reply moves one of the computer's own stones to a
    // free neighbouring point, with Finis exactly when that fills a line.
    void randomGames() {
        QFETCH(int, level);
        const Solution solution;
        const auto policy = MakePolicy(level, solution, 11);
        CpuPlayer player(PlayerConfig{}, *policy);
        std::mt19937 random(5);
        int replies = 0;
        int ended = 0;
        for (int game = 0; game < kGames; ++game) {
            TwoSidedBoard board;
            Feed(player, In("|StrtG "));
            for (int ply = 0; ply < 60 && player.GetPhase() == CpuPlayer::Phase::RivalTurn; ++ply) {
                const auto moves = board.HumanMoves();
                const auto [stone, to, from] = moves[random() % moves.size()];
                board.human[stone] = to;
                Feed(player, In(SetStMessage(stone, to, from)));
                for (int s = 0; s < 3; ++s) QCOMPARE(player.Board().Yourstone(s), 8 - board.human[s]);
                if (Line(board.human)) Feed(player, In("|Finis "));
                if (player.GetPhase() != CpuPlayer::Phase::OwnTurn) break;
                const Reply reply = player.OnWake();
                QVERIFY(!reply.send.isEmpty() && reply.send[0].startsWith("|SetSt "));
                const MoveDigits digits = ReadMoveDigits(QStringView(reply.send[0]).sliced(7));
                QCOMPARE(digits.source, board.cpu[digits.stone]);
                QVERIFY(board.FreeForHuman(8 - digits.target) && IsAdjacent(digits.source, digits.target));
                board.cpu[digits.stone] = digits.target;
                QCOMPARE(reply.send.size(), Line(board.cpu) ? 2 : 1);
                ++replies;
            }
            ended += Line(board.human) || Line(board.cpu) ? 1 : 0;
        }
        QCOMPARE(player.Wins() + player.Losses(), ended);
        QVERIFY(ended > 0 && replies > kGames);
    }
};

QTEST_GUILESS_MAIN(TestCpuPlayer)
#include "test_cpu_player.moc"
