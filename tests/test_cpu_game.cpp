// A game window against the real torvane-cpu program over loopback, in both
// roles: whole games, and the two tallies agree at the end.

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include "cpu/local_computer.h"
#include "cpu/policy.h"
#include "support/expected_lines.h"
#include "support/moves.h"
#include "ui/picture_box.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::testing::line;

namespace {

constexpr int kMoveCap = 60;

Placement PlacementOf(const Main& w) {
    Placement placement;
    for (int i = 0; i < kStoneCount; ++i) {
        placement.own |= PointBit(PointOf(w.Mystone[i]));
        placement.rival |= PointBit(PointOf(w.Yourstone[i]));
    }
    return placement;
}

int StoneOn(const Main& w, PointIndex point) {
    for (int i = 0; i < kStoneCount; ++i) {
        if (PointOf(w.Mystone[i]) == point) return i;
    }
    return -1;
}

// A step that lets the rival win next, so the computer gets its win; until
// there is one, any step that does not win.
std::optional<Step> Blunder(Placement placement) {
    std::optional<Step> harmless;
    for (const Step& step : LegalSteps(placement)) {
        if (StepWins(placement, step)) continue;
        if (GivesWinInOne(placement, step)) return step;
        if (!harmless) harmless = step;
    }
    return harmless;
}

class CpuProcess {
public:
    explicit CpuProcess(const QStringList& arguments) {
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(QCoreApplication::applicationDirPath() + "/torvane-cpu",
                      arguments + QStringList{"--level", "easy", "--seed", "7", "--delay-ms", "20"});
    }
    ~CpuProcess() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    // Reads standard output until a line matches; returns its first group.
    QString WaitForLine(const QRegularExpression& pattern, int ms = 20000) {
        QString found;
        (void)QTest::qWaitFor(
            [&] {
                output += QString::fromUtf8(process.readAllStandardOutput());
                const auto match = pattern.match(output);
                if (match.hasMatch()) found = match.captured(1);
                return match.hasMatch() || process.state() == QProcess::NotRunning;
            },
            ms);
        return found;
    }
    QProcess process;
    QString output;
};

}  // namespace

class CpuGameTest : public QObject {
    Q_OBJECT
private:
    Solution solution;

    // Plays one game that this window starts; the window plays `policy` or,
    // with no policy, throws the game. Returns the result line.
    QString PlayGame(Player& human, Policy* policy) {
        Main& w = *human.window;
        QTest::mouseClick(w.StartGame, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return human.LastLine() == kFirst; }, 10000)) return QString("no start");
        for (int move = 0; move < kMoveCap; ++move) {
            const bool myTurn = QTest::qWaitFor(
                [&] { return w.Mystone[0]->isEnabled() || human.LastLine() == kWin || human.LastLine() == kLose; },
                10000);
            if (!myTurn || human.LastLine() == kWin || human.LastLine() == kLose) break;
            const Placement placement = PlacementOf(w);
            const std::optional<Step> step = policy ? policy->Choose(placement) : Blunder(placement);
            if (!step) return QString("no step");
            DragStone(human, StoneOn(w, step->from), step->to);
            if (!human.prompter.shown.isEmpty()) return QString("refused");
        }
        (void)QTest::qWaitFor([&] { return human.LastLine() == kWin || human.LastLine() == kLose; }, 10000);
        return human.LastLine();
    }

    void PlayTwoGames(Player& human, CpuProcess& cpu) {
        PerfectPolicy perfect(solution, 3);
        QCOMPARE(PlayGame(human, &perfect), kWin);
        QCOMPARE(PlayGame(human, nullptr), kLose);
        QCOMPARE(human.window->WinNum->text(), QStringLiteral("1"));
        QCOMPARE(human.window->LoseNum->text(), QStringLiteral("1"));
        QVERIFY(!human.Lines().join('\n').contains(QStringLiteral("反則")));
        human.window->close();
        const QRegularExpression tally("the connection closed; wins (\\d+, losses \\d+)");
        QCOMPARE(cpu.WaitForLine(tally), QStringLiteral("1, losses 1"));
        QTRY_COMPARE(cpu.process.state(), QProcess::NotRunning);
        QCOMPARE(cpu.process.exitCode(), 0);
    }

private slots:
    void windowServesTheComputer() {
        Player human;
        human.Serve(QStringLiteral("人間"));
        CpuProcess cpu({"--connect", QStringLiteral("127.0.0.1:%1").arg(human.Port())});
        QTRY_COMPARE_WITH_TIMEOUT(human.window->Rival->text(), QStringLiteral("コンピュータ"), 20000);
        PlayTwoGames(human, cpu);
    }

    void windowJoinsTheComputer() {
        CpuProcess cpu({"--listen", "0", "--name", "CPU"});
        const QString port = cpu.WaitForLine(QRegularExpression("listening on port (\\d+)"));
        QVERIFY(!port.isEmpty());
        Player human;
        human.Join(QStringLiteral("人間"), port.toUShort());
        QTRY_COMPARE_WITH_TIMEOUT(human.window->Rival->text(), QStringLiteral("CPU"), 20000);
        PlayTwoGames(human, cpu);
    }

    // From the dialog's computer role to a finished game: the computer's level
    // follows the tally, it starts the next game itself, and it ends with the
    // window.
    void dialogPlaysTheComputerInside() {
        Player human;
        human.Load();
        ConnectForm* dialog = human.window->Dialog();
        dialog->Handle->setText(QStringLiteral("人間"));
        QTest::mouseClick(dialog->OptCpu, Qt::LeftButton);
        QTest::mouseClick(dialog->OK, Qt::LeftButton);
        QTRY_COMPARE(human.window->Rival->text(), QStringLiteral("コンピュータ"));
        const QPointer<LocalComputer> computer = human.window->findChild<LocalComputer*>();
        QVERIFY(computer);
        QCOMPARE(computer->Policy().Level(), AdaptivePolicy::kAdaptiveStartLevel);
        QCOMPARE(PlayGame(human, nullptr), kLose);
        QTRY_COMPARE(computer->Policy().Level(), AdaptivePolicy::kAdaptiveStartLevel - 1);
        QTRY_COMPARE_WITH_TIMEOUT(human.LastLine(), kSecond, 10000);
        QTest::mouseClick(human.window->Reset, Qt::LeftButton);
        QTRY_COMPARE(computer->Policy().Level(), AdaptivePolicy::kAdaptiveStartLevel);
        human.window->close();
        QVERIFY(computer.isNull());
    }
};

QTEST_MAIN(CpuGameTest)
#include "test_cpu_game.moc"
