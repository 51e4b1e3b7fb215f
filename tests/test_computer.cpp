// The computer opponent: the solved game and the levels' policies, the
// command line, the conversation message by message, the program's side of
// a loopback connection, and whole games against a game window.
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <set>

#include "cpu/cpu_options.h"
#include "cpu/cpu_peer.h"
#include "cpu/local_computer.h"
#include "cpu/solve_report.h"
#include "support/window_test.h"
#include "ui/picture_box.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

// The computer moves first in its own game once the rival's start has ended.
constexpr int kOwnStart = conversation::kStartMs;
const int kNextGame = PlayerConfig{}.nextGameDelayMs;
constexpr int kWaitMs = 10000;

// One step of the mover, with the board that follows in the next mover's view.
struct Successor {
    Step step;
    Placement next;
    bool wins = false;
};

std::vector<Successor> successorsOf(const Placement& placement) {
    std::vector<Successor> successors;
    for (const Step& step : legalSteps(placement))
        successors.push_back({step, afterStep(placement, step), stepWins(placement, step)});
    return successors;
}

bool hasWinInOne(const Placement& placement) {
    const auto steps = legalSteps(placement);
    return std::any_of(steps.begin(), steps.end(), [&](const Step& step) { return stepWins(placement, step); });
}

// The mover's value once the rival has `next` to move from.
Value flipped(Value next) {
    if (next.outcome == Outcome::Draw) return next;
    return {next.outcome == Outcome::Win ? Outcome::Loss : Outcome::Win, next.plies + 1};
}

// Plays the steps it is given ("63 31": 6 -> 3, then 3 -> 1), then none;
// or, without a script, always the first legal step.
class ScriptedPolicy : public Policy {
public:
    explicit ScriptedPolicy(QString script = "*") : digits_(script.remove(u' ')) {}
    std::optional<Step> choose(Placement placement) override {
        if (digits_ == "*") {
            const auto steps = legalSteps(placement);
            return steps.empty() ? std::nullopt : std::optional(steps.front());
        }
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

Event in(const QString& text, const QStringList& sent = {}, int wakeMs = -1) { return {false, text, sent, wakeMs}; }
Event woken(const QStringList& sent = {}, int wakeMs = -1) { return {true, {}, sent, wakeMs}; }

// "コンピュータ" and "人間" in code page 932, written out by hand.
const QByteArray kComputerSjis = QByteArray::fromHex("8352839383738385815b835e");
const QByteArray kHumanSjis = QByteArray::fromHex("906c8ad4");

// torvane-cpu listening on a port the system picks, with `arguments`; its
// output read as it comes.
struct CpuProgram {
    explicit CpuProgram(const QStringList& arguments) {
        process.start(QCoreApplication::applicationDirPath() + "/torvane-cpu",
                      QStringList{"--listen", "0"} + arguments);
    }
    // The first capture of `pattern` once it has been printed.
    QString printed(const QString& pattern) {
        const QRegularExpression expression(pattern);
        (void)QTest::qWaitFor([&] { return (output += process.readAllStandardOutput()).contains(expression); },
                              kWaitMs);
        return expression.match(output).captured(1);
    }
    QProcess process;
    QString output;
};

// A computer with quick pauses on a real socket, its output kept.
struct Computer {
    explicit Computer(PeerTiming timing = {5000, 20}) : peer{player, out, err, timing} {}
    ScriptedPolicy policy;
    CpuPlayer player{{.isServer = true, .moveDelayMs = 10, .ownStartWaitMs = 20}, policy};
    QString outText;
    QString errText;
    QTextStream out{&outText};
    QTextStream err{&errText};
    CpuPeer peer;
    QSignalSpy finished{&peer, &CpuPeer::finished};
};

// A step that lets the rival win next, so the computer gets its win; until
// there is one, any step that does not win.
std::optional<Step> blunder(Placement placement) {
    std::optional<Step> harmless;
    for (const Step& step : legalSteps(placement)) {
        if (stepWins(placement, step)) continue;
        if (givesWinInOne(placement, step)) return step;
        if (!harmless) harmless = step;
    }
    return harmless;
}

// The window's own stones and the rival's, in its numbering.
Placement placementOf(const Player& w) {
    Placement placement;
    for (int i = 0; i < kStoneCount; ++i) {
        placement.own |= pointBit(pointOf(w.own(i)));
        placement.rival |= pointBit(pointOf(w.rival(i)));
    }
    return placement;
}

// Plays one game that the window starts, throwing it. Returns the result
// line.
QString throwGame(Player& human) {
    const Player& w = human;
    QTest::mouseClick(w.form().startButton, Qt::LeftButton);
    const auto over = [&] { return human.lastLine() == line::kWin || human.lastLine() == line::kLose; };
    if (!QTest::qWaitFor([&] { return human.lastLine() == line::kFirst; }, kWaitMs)) return "no start";
    for (int move = 0;
         move < 60 && QTest::qWaitFor([&] { return w.own(0)->isEnabled() || over(); }, kWaitMs) && !over(); ++move) {
        const Placement placement = placementOf(w);
        const std::optional<Step> step = blunder(placement);
        if (!step) return "no step";
        int stone = 0;
        while (stone + 1 < kStoneCount && pointOf(w.own(stone)) != step->from) ++stone;
        dragStone(human, stone, step->to);
        if (!human.prompter.shown.isEmpty()) return "refused";
    }
    return human.lastLine();
}

}  // namespace

Q_DECLARE_METATYPE(Event)
Q_DECLARE_METATYPE(torvane::PlayerConfig)

class ComputerTest : public QObject {
    Q_OBJECT
    Solution solution_;

private slots:
    // The figures `torvane-cpu --solve` prints.
    void solveReportFigures() {
        QCOMPARE(QString::fromStdString(solveReport(solution_)),
                 "start position, for the player who moves first: draw (endless play)\n"
                 "positions: 3360 (1680 placements x 2 sides to move; each count below is for the side to move)\n"
                 "  won:   1824 (longest 5 plies)\n"
                 "  lost:  614 (longest 4 plies; 280 already over, the rival has just won)\n"
                 "  drawn: 922 (0 with no legal step)\n"
                 "seen from the side to move, the placements split 912 won, 307 lost, 461 drawn of 1680\n");
    }

    // Every level steps legally and its seed changes its choice. The perfect
    // level keeps the value (so it never loses from the drawn start), the
    // middle levels slip from it the less often the higher they stand, and
    // the easiest takes a win in one, else leaves the rival none if it can.
    void everyPolicyStep() {
        std::array<int, kPerfectLevel + 1> slips{};
        for (int level = kEasiestLevel; level <= kPerfectLevel; ++level) {
            std::set<std::pair<int, int>> starts;
            for (std::uint32_t seed = 1; seed <= 3; ++seed) {
                const auto policy = makePolicy(level, solution_, seed);
                for (int i = 0; i < solution_.size(); ++i) {
                    const Placement placement = solution_.placementAt(i);
                    if (isFinished(placement)) continue;
                    const std::optional<Step> step = policy->choose(placement);
                    const auto successors = successorsOf(placement);
                    const auto chosen = std::find_if(successors.begin(), successors.end(),
                                                     [&](const Successor& s) { return step && s.step == *step; });
                    QVERIFY2(chosen != successors.end(), qPrintable(QString("level %1, %2").arg(level).arg(i)));
                    if (placement == startPlacement()) starts.insert({chosen->step.from, chosen->step.to});
                    slips[level] += flipped(solution_.valueOf(chosen->next)) != solution_.valueAt(i);
                    if (level != kEasiestLevel) continue;
                    const bool canBeSafe = std::any_of(successors.begin(), successors.end(),
                                                       [](const Successor& s) { return !hasWinInOne(s.next); });
                    if (hasWinInOne(placement))
                        QVERIFY(chosen->wins);
                    else if (canBeSafe)
                        QVERIFY(!hasWinInOne(chosen->next));
                }
            }
            QVERIFY2(starts.size() > 1, qPrintable(QString("level %1").arg(level)));
        }
        QVERIFY2(slips[2] > slips[3] && slips[3] > slips[4] && slips[4] > 0 && slips[5] == 0,
                 qPrintable(QString("slips %1 %2 %3 %4").arg(slips[2]).arg(slips[3]).arg(slips[4]).arg(slips[5])));
    }

    // The command line read, or the start of why it makes no sense.
    void options_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("read");
        const auto row = [](const char* name, const char* arguments, const char* read) {
            QTest::newRow(name) << QString(arguments) << QString(read);
        };
        row("connect", "--connect [::1]:9898 --level 2 --seed 7", "1 ::1 9898 コンピュータ 2 7 600 0");
        row("listen", "--listen 0 --name CPU --level easy --starts always --delay-ms 0", "2  0 CPU 1 - 0 2");
        row("solve", "--solve --starts alternate", "0  0 コンピュータ 5 - 600 1");
        row("no mode", "", "give exactly one");
        row("two modes", "--solve --listen 1", "give exactly one");
        row("port 0", "--connect host:0", "--connect needs");
        row("port too high", "--listen 65536", "--listen needs");
        row("empty name", "--solve --name=", "--name must");
        row("level 0", "--solve --level 0", "--level is");
        row("unknown start", "--solve --starts sometimes", "--starts is");
        row("negative delay", "--solve --delay-ms -1", "--delay-ms needs");
        row("seed not a number", "--solve --seed x", "--seed needs");
    }

    void options() {
        QFETCH(QString, arguments);
        QFETCH(QString, read);
        QCommandLineParser parser;
        addCpuOptions(parser);
        QVERIFY(parser.parse(QStringList{"torvane-cpu"} + arguments.split(' ', Qt::SkipEmptyParts)));
        const auto options = readCpuOptions(parser);
        QString got = std::get_if<QString>(&options) ? std::get<QString>(options) : QString();
        if (const auto* o = std::get_if<CpuOptions>(&options)) {
            got = QString("%1 %2 %3 %4 %5 %6 %7 %8").arg(int(o->mode)).arg(o->host).arg(o->port).arg(o->name);
            got = got.arg(o->level).arg(o->seed ? QString::number(*o->seed) : "-").arg(o->delayMs).arg(int(o->starts));
        }
        QVERIFY2(got.startsWith(read), qPrintable(got));
    }

    // The tally is wins, losses and warnings at the end.
    void conversation_data() {
        QTest::addColumn<PlayerConfig>("config");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<int>>("tally");
        QTest::addColumn<Events>("events");
        const auto row = [](const char* name, const PlayerConfig& config, const QString& script, QList<int> tally,
                            const Events& events) { QTest::newRow(name) << config << script << tally << events; };
        const PlayerConfig always{.starts = StartPolicy::Always};
        // Human 6->3, 7->4, 8->5 in its numbering; the computer 6->3, 3->1 in its own.
        row("start waits for the human, who wins", {}, "63 31", {0, 1, 0},
            {in("|StrtG "), woken(), in("|SetSt 036", {}, 600), woken({"|SetSt 036"}), in("|SetSt 147", {}, 600),
             woken({"|SetSt 013"}), in("|SetSt 258"), in("|Finis ")});
        row("reset zeroes the tally", {}, "", {0, 0, 1}, {in("|StrtG "), in("|Finis "), in("|Reset ")});
        // The computer fills 3-4-5 while the human wanders off; a rival with no
        // name is warned of and played all the same. The human's move that
        // crossed the win is no foul and keeps the next start.
        row("win sends SetSt then Finis", always, "63 74 85", {1, 0, 2},
            {in("|SName ", {}, kNextGame), woken({"|StrtG "}, kOwnStart), woken({"|SetSt 036"}),
             in("|SetSt 036", {}, 600), woken({"|SetSt 147"}), in("|SetSt 013", {}, 600),
             woken({"|SetSt 258", "|Finis "}, kNextGame), in("|SetSt 147"), woken({"|StrtG "}, kOwnStart)});
        row("alternate starts after the human's game only", {.starts = StartPolicy::Alternate}, "63", {0, 2, 2},
            {in("|StrtG "), in("|Finis ", {}, kNextGame), woken({"|StrtG "}, kOwnStart), woken({"|SetSt 036"}),
             in("|Finis ")});
        row("greeting answered, crossing starts: the server's stands",
            {.isServer = true, .starts = StartPolicy::Always}, "63", {0, 0, 0},
            {in("|Cnnct 人間", {"|SName コンピュータ"}, kNextGame), woken({"|StrtG "}, kOwnStart), in("|StrtG "),
             woken({"|SetSt 036"})});
        row("crossing starts: the client gives way", always, "63", {0, 0, 0},
            {in("|SName 人間", {}, kNextGame), woken({"|StrtG "}, kOwnStart), in("|StrtG "), woken(),
             in("|SetSt 036", {}, 600)});
        // Both shuffle a stone out and back twice: the start position with
        // the human to move stands a third time after the computer's move.
        row("a third repetition draws and leaves the tally", {.starts = StartPolicy::Alternate}, "63 36 63 36",
            {0, 0, 0},
            {in("|StrtG "), in("|SetSt 036", {}, 600), woken({"|SetSt 036"}), in("|SetSt 063", {}, 600),
             woken({"|SetSt 063"}), in("|SetSt 036", {}, 600), woken({"|SetSt 036"}), in("|SetSt 063", {}, 600),
             woken({"|SetSt 063"}, kNextGame)});
        row("a start cancels the pending move", {}, "63", {0, 0, 0},
            {in("|StrtG "), in("|SetSt 036", {}, 600), in("|StrtG "), woken()});
        row("no step left: a new game", {}, "", {0, 0, 1},
            {in("|StrtG "), in("|SetSt 036", {}, 600), woken({"|StrtG "}, kOwnStart)});
        // Each is answered in chat, and the computer starts a game of its own.
        const QString illegal = "|Speak コンピュータ>>" + kIllegalMoveChat;
        const auto answered = [&](const char* name, const Events& before, const QString& move) {
            row(name, {}, "63", {0, 0, 1},
                before + Events{in(move, {illegal, "|StrtG "}, kOwnStart), woken({"|SetSt 036"})});
        };
        answered("wrong source", {in("|StrtG ")}, "|SetSt 035");
        answered("no digits", {in("|StrtG ")}, "|SetSt");
        answered("no game yet", {}, "|SetSt 036");
        answered("out of turn", {in("|StrtG "), in("|SetSt 036", {}, 600)}, "|SetSt 147");
        row("the bar in a name goes out wide", {.name = "A|B"}, "", {0, 0, 1},
            {in("|SetSt 036", {"|Speak A｜B>>" + kIllegalMoveChat, "|StrtG "}, kOwnStart)});
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
            const Event& event = events[i];
            const Reply reply =
                event.wake ? player.onWake() : player.onMessage(cutMessages(event.text, false).messages.at(0));
            const int wakeMs = reply.wakeAfterMs.value_or(-1);
            QVERIFY2(reply.send == event.sent && wakeMs == event.wakeMs,
                     qPrintable(QString("event %1: sent %2, wake %3").arg(i).arg(reply.send.join(", ")).arg(wakeMs)));
            warned += int(reply.warnings.size());
        }
        QCOMPARE((QList<int>{player.wins(), player.losses(), warned}), tally);
    }

    // The level after a run of results: p the player won, c the computer
    // won, r the tally was reset.
    void adaptiveLevel_data() {
        QTest::addColumn<QString>("results");
        QTest::addColumn<int>("level");
        QTest::newRow("player wins, up one") << "p" << 4;
        QTest::newRow("never above perfect") << "pppp" << kPerfectLevel;
        QTest::newRow("never below easy") << "cccc" << kEasiestLevel;
    }

    void adaptiveLevel() {
        QFETCH(QString, results);
        QFETCH(int, level);
        AdaptivePolicy policy(solution_, 1);
        for (const QChar result : results) {
            if (result == u'r')
                policy.tallyReset();
            else
                policy.gameOver(result == u'c');
        }
        QCOMPARE(policy.level(), level);
    }

    // The computer may be started before the game program opens its port.
    void clientRetriesGreetsAndEndsWithTheConnection() {
        const quint16 port = unusedPort();
        Computer computer;
        computer.peer.connectTo("127.0.0.1", port);
        QTest::qWait(60);  // a few refused attempts
        QTcpServer human;
        QVERIFY(human.listen(QHostAddress::LocalHost, port));
        QTRY_VERIFY_WITH_TIMEOUT(human.hasPendingConnections(), kWaitMs);
        QTcpSocket* socket = human.nextPendingConnection();
        QByteArray received;
        QTRY_COMPARE_WITH_TIMEOUT(received += socket->readAll(), "|Cnnct " + kComputerSjis, kWaitMs);
        socket->write("|SName " + kHumanSjis);
        QTRY_VERIFY_WITH_TIMEOUT(computer.outText.contains("人間"), kWaitMs);
        socket->disconnectFromHost();
        QTRY_COMPARE_WITH_TIMEOUT(computer.finished.size(), 1, kWaitMs);
        QCOMPARE(computer.finished.first().first().toInt(), 0);
        QVERIFY(computer.errText.isEmpty());
    }

    void clientGivesUp() {
        Computer computer({150, 20});
        computer.peer.connectTo("127.0.0.1", unusedPort());
        QTRY_COMPARE_WITH_TIMEOUT(computer.finished.size(), 1, kWaitMs);
        QCOMPARE(computer.finished.first().first().toInt(), 1);
        QVERIFY2(computer.errText.contains("cannot connect to 127.0.0.1"), qPrintable(computer.errText));
    }
    // However late the computer runs, it reads what the window sent before
    // it acts on its own timers: paused across the window's start and first
    // move, it answers the move instead of starting a game of its own.
    void pausedComputerFollowsTheWindowsStart() {
        CpuProgram cpu({"--starts", "always", "--delay-ms", "20"});
        Player human;
        human.join("人間", cpu.printed("listening on port (\\d+)").toUShort());
        QTRY_COMPARE_WITH_TIMEOUT(human.form().rivalName->text(), "コンピュータ", kWaitMs);
        QCOMPARE(kill(pid_t(cpu.process.processId()), SIGSTOP), 0);
        QTest::mouseClick(human.form().startButton, Qt::LeftButton);
        QTRY_COMPARE(human.lastLine(), line::kFirst);
        dragStone(human, 0, 3);
        // Long enough for the computer's own start to be overdue.
        QTest::qWait(PlayerConfig{}.nextGameDelayMs + 500);
        QCOMPARE(kill(pid_t(cpu.process.processId()), SIGCONT), 0);
        QTRY_VERIFY_WITH_TIMEOUT(ownStonesEnabled(human), kWaitMs);
        QCOMPARE(human.lines().filter("ゲーム開始"), QStringList{line::kFirst});
        QVERIFY2(!human.lines().join('\n').contains("反則"), qPrintable(human.lines().join('\n')));
        // The program ends with the connection, and says how it went.
        human.window->close();
        QCOMPARE(cpu.printed("the connection closed; wins (\\d+, losses \\d+)"), "0, losses 0");
        QTRY_COMPARE_WITH_TIMEOUT(cpu.process.state(), QProcess::NotRunning, kWaitMs);
        QCOMPARE(cpu.process.exitCode(), 0);
    }

    // From the menu's computer entry, which opens the dialog with that role
    // chosen, to a finished game: the computer's level follows the tally, it
    // starts the next game itself, and it ends with the window.
    void dialogPlaysTheComputerInside() {
        Player human;
        human.load(ConnectionSettings::Role::Computer);
        const Ui::ConnectionDialog& dialog = human.window->dialog()->form();
        QVERIFY(dialog.computerOption->isChecked() && !dialog.hostBox->isEnabled() && !dialog.portEdit->isEnabled());
        dialog.nameEdit->setText("人間");
        QTest::mouseClick(dialog.okButton, Qt::LeftButton);
        // The level starts at 3 and is told whenever it changes.
        const auto level = [](char digit) {
            return QString("☆☆☆　コンピュータのレベル：%1（５段階）　☆☆☆").arg(QChar(u'０' + digit - '0'));
        };
        QTRY_COMPARE(human.form().rivalName->text(), "コンピュータ");
        QCOMPARE(human.lines(), QStringList({"☆☆☆　コンピュータと対戦します　☆☆☆", level('3')}));
        const QPointer<LocalComputer> computer = human.window->findChild<LocalComputer*>();
        QVERIFY(computer);
        QCOMPARE(throwGame(human), line::kLose);
        QTRY_VERIFY(human.lines().contains(level('2')));
        QTRY_COMPARE_WITH_TIMEOUT(human.lastLine(), line::kSecond, kWaitMs);
        QTest::mouseClick(human.form().resetButton, Qt::LeftButton);
        QTRY_COMPARE(human.lastLine(), level('3'));
        human.window->close();
        QVERIFY(computer.isNull());
    }
};

QTEST_MAIN(ComputerTest)
#include "test_computer.moc"
