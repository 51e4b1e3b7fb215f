// The computer on a real loopback connection: the bytes it sends back, the
// client's greeting and retries, and the exit status it reports.
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "cpu/cpu_peer.h"
#include "support/probes.h"

using namespace torvane;
using torvane::testing::UnusedPort;

namespace {

// Always the first legal step, so every reply is known in advance.
class FirstStepPolicy : public Policy {
public:
    std::optional<Step> Choose(Placement placement) override {
        const auto steps = LegalSteps(placement);
        return steps.empty() ? std::nullopt : std::optional(steps.front());
    }
};

// "コンピュータ" and "人間" in code page 932, written out by hand.
const QByteArray kComputerSjis = QByteArray::fromHex("835283938373838581 5b835e");
const QByteArray kHumanSjis = QByteArray::fromHex("906c8ad4");

constexpr int kWaitMs = 3000;
constexpr int kQuietMs = 150;  // longer than the move pause, shorter than the read window

// What the human writes, and everything the computer sends back before the
// next write.
using Exchange = std::pair<QByteArray, QByteArray>;

// A computer with quick pauses, its output kept for inspection.
struct Computer {
    FirstStepPolicy policy;
    CpuPlayer player{{.isServer = true, .moveDelayMs = 10, .ownStartWaitMs = 20}, policy};
    QString outText;
    QString errText;
    QTextStream out{&outText};
    QTextStream err{&errText};
    PeerTiming timing{1000, 50};
    CpuPeer peer{player, out, err, timing};
    QSignalSpy finished{&peer, &CpuPeer::Finished};
};

}  // namespace

class TestCpuPeer : public QObject {
    Q_OBJECT
private slots:
    void serverExchange_data() {
        QTest::addColumn<QList<Exchange>>("exchanges");
        QTest::addColumn<QString>("printed");
        const Exchange greeting{"|Cnnct " + kHumanSjis, "|SName " + kComputerSjis};
        // The human's left stone 6 -> 3 lands on the computer's 5; its first
        // legal step is then 6 -> 3 with its stone 0.
        QTest::newRow("greeting, chat and start, a move")
            << QList<Exchange>{greeting, {"|Speak " + kHumanSjis + ">>hello|StrtG ", ""}, {"|SetSt 036", "|SetSt 036"}}
            << "人間>>hello";
        QTest::newRow("a move split between reads")
            << QList<Exchange>{greeting, {"|StrtG |SetS", ""}, {"t 036", "|SetSt 036"}} << "rival moves first";
        // "03" waits for a third digit that never comes; the move then reads as
        // 0, 3, 0, whose source is wrong: answered in chat, and a new game.
        const QByteArray illegal = EncodeCp932(u"|Speak コンピュータ>>その手は反則です。新しいゲームを始めます");
        QTest::newRow("an unfinished move is taken as it stands")
            << QList<Exchange>{greeting, {"|StrtG |SetSt 03", illegal + "|StrtG |SetSt 036"}} << "computer moves first";
    }

    void serverExchange() {
        QFETCH(QList<Exchange>, exchanges);
        QFETCH(QString, printed);
        Computer computer;
        QVERIFY(computer.peer.Listen(0));
        QTcpSocket human;
        human.connectToHost(QHostAddress::LocalHost, computer.peer.ListenPort());
        QVERIFY(human.waitForConnected(kWaitMs));
        for (const auto& [sent, expected] : exchanges) {
            human.write(sent);
            QByteArray received;
            QTRY_VERIFY_WITH_TIMEOUT((received += human.readAll()).size() >= expected.size(), kWaitMs);
            QTest::qWait(kQuietMs);
            QCOMPARE(received + human.readAll(), expected);
        }
        QVERIFY2(computer.outText.contains(printed), qPrintable(computer.outText));
        human.disconnectFromHost();
        QTRY_COMPARE_WITH_TIMEOUT(computer.finished.size(), 1, kWaitMs);
        QCOMPARE(computer.finished.first().first().toInt(), 0);
    }

    // The computer may be started before the game program opens its port.
    void clientRetriesGreetsAndEndsWithTheConnection() {
        const quint16 port = UnusedPort();
        Computer computer;
        computer.peer.Connect("127.0.0.1", port);
        QTest::qWait(200);
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
        Computer computer;
        computer.peer.Connect("127.0.0.1", UnusedPort());
        QTRY_COMPARE_WITH_TIMEOUT(computer.finished.size(), 1, kWaitMs + computer.timing.connectWindowMs);
        QCOMPARE(computer.finished.first().first().toInt(), 1);
        QVERIFY2(computer.errText.contains("cannot connect to 127.0.0.1"), qPrintable(computer.errText));
    }
};

QTEST_GUILESS_MAIN(TestCpuPeer)
#include "test_cpu_peer.moc"
