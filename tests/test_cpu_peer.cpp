// The computer on a real loopback connection: the bytes it sends back, the
// client's greeting and retries, and the exit status it reports.
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "cpu/cpu_peer.h"

using torvane::CpuPeer;
using torvane::CpuPlayer;
using torvane::PeerTiming;
using torvane::PlayerConfig;

namespace {

// Always the first legal step, so every reply is known in advance.
class FirstStepPolicy : public torvane::Policy {
public:
    std::optional<torvane::Step> Choose(torvane::Placement placement) override {
        const auto steps = torvane::LegalSteps(placement);
        if (steps.empty()) return std::nullopt;
        return steps.front();
    }
};

// "コンピュータ" and "人間" in code page 932, written out by hand.
const QByteArray kComputerSjis = QByteArray::fromHex("835283938373838581 5b835e");
const QByteArray kHumanSjis = QByteArray::fromHex("906c8ad4");

constexpr int kWaitMs = 3000;
constexpr int kQuietMs = 150;  // longer than the move pause, shorter than the tail wait

struct Exchange {
    QByteArray send;
    QByteArray expected;  // everything the computer sends back before the next write
};

PlayerConfig FastConfig() {
    PlayerConfig config;
    config.isServer = true;
    config.moveDelayMs = 10;
    config.ownStartWaitMs = 20;
    return config;
}

// A computer listening on a port of the system's choosing, with its output
// kept for inspection.
struct ListeningComputer {
    FirstStepPolicy policy;
    CpuPlayer player{FastConfig(), policy};
    QString outText;
    QString errText;
    QTextStream out{&outText};
    QTextStream err{&errText};
    PeerTiming timing{1000, 50, 1000};
    CpuPeer peer{player, out, err, timing};
};

quint16 UnusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}  // namespace

Q_DECLARE_METATYPE(Exchange)

class TestCpuPeer : public QObject {
    Q_OBJECT
private slots:
    void serverExchange_data();
    void serverExchange();
    void clientGreetsAndEndsWithTheConnection();
    void clientRetriesUntilTheServerIsUp();
    void clientGivesUp();
};

void TestCpuPeer::serverExchange_data() {
    QTest::addColumn<QList<Exchange>>("exchanges");
    QTest::addColumn<QString>("printed");
    const Exchange greeting{"|Cnnct " + kHumanSjis, "|SName " + kComputerSjis};
    // The human's left stone 6 -> 3 lands on the computer's 5; its first
    // legal step is then 6 -> 3 with its stone 0.
    QTest::newRow("greeting, start, a move")
        << QList<Exchange>{greeting, {"|StrtG ", ""}, {"|SetSt 036", "|SetSt 036"}} << "人間";
    QTest::newRow("start and move in one read")
        << QList<Exchange>{greeting, {"|StrtG |SetSt 036", "|SetSt 036"}} << "rival moves first";
    QTest::newRow("a move split between reads")
        << QList<Exchange>{greeting, {"|StrtG |SetS", ""}, {"t 036", "|SetSt 036"}} << "rival moves first";
    const QByteArray illegal = torvane::EncodeCp932(u"|Speak コンピュータ>>その手は反則です。新しいゲームを始めます");
    QTest::newRow("an illegal move restarts")
        << QList<Exchange>{greeting, {"|StrtG |SetSt 035", illegal + "|StrtG |SetSt 036"}} << "computer moves first";
    // "03" waits for a third digit that never comes; the move then reads as
    // 0, 3, 0, whose source is wrong.
    QTest::newRow("an unfinished move is taken as it stands")
        << QList<Exchange>{greeting, {"|StrtG |SetSt 03", illegal + "|StrtG |SetSt 036"}} << "computer moves first";
    QTest::newRow("chat is printed") << QList<Exchange>{greeting, {"|Speak " + kHumanSjis + ">>hello", ""}}
                                     << "人間>>hello";
}

void TestCpuPeer::serverExchange() {
    QFETCH(QList<Exchange>, exchanges);
    QFETCH(QString, printed);
    ListeningComputer computer;
    QSignalSpy finished(&computer.peer, &CpuPeer::Finished);
    QVERIFY(computer.peer.Listen(0));
    QTcpSocket human;
    human.connectToHost(QHostAddress::LocalHost, computer.peer.ListenPort());
    QVERIFY(human.waitForConnected(kWaitMs));
    for (const Exchange& exchange : exchanges) {
        human.write(exchange.send);
        QByteArray received;
        QTRY_VERIFY_WITH_TIMEOUT((received += human.readAll()).size() >= exchange.expected.size(), kWaitMs);
        QTest::qWait(kQuietMs);
        received += human.readAll();
        QCOMPARE(received, exchange.expected);
    }
    QVERIFY2(computer.outText.contains(printed), qPrintable(computer.outText));
    human.disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, kWaitMs);
    QCOMPARE(finished.first().first().toInt(), 0);
}

void TestCpuPeer::clientGreetsAndEndsWithTheConnection() {
    QTcpServer human;
    QVERIFY(human.listen(QHostAddress::LocalHost, 0));
    ListeningComputer computer;
    QSignalSpy finished(&computer.peer, &CpuPeer::Finished);
    computer.peer.Connect("127.0.0.1", human.serverPort());
    QTRY_VERIFY_WITH_TIMEOUT(human.hasPendingConnections(), kWaitMs);
    QTcpSocket* socket = human.nextPendingConnection();
    QByteArray received;
    QTRY_COMPARE_WITH_TIMEOUT(received += socket->readAll(), "|Cnnct " + kComputerSjis, kWaitMs);
    socket->write("|SName " + kHumanSjis);
    QTRY_VERIFY_WITH_TIMEOUT(computer.outText.contains("人間"), kWaitMs);
    socket->disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, kWaitMs);
    QCOMPARE(finished.first().first().toInt(), 0);
}

// The computer may be started before the game program opens its port.
void TestCpuPeer::clientRetriesUntilTheServerIsUp() {
    const quint16 port = UnusedPort();
    ListeningComputer computer;
    computer.peer.Connect("127.0.0.1", port);
    QTest::qWait(200);
    QTcpServer human;
    QVERIFY(human.listen(QHostAddress::LocalHost, port));
    QTRY_VERIFY_WITH_TIMEOUT(human.hasPendingConnections(), kWaitMs);
    QTcpSocket* socket = human.nextPendingConnection();
    QByteArray received;
    QTRY_COMPARE_WITH_TIMEOUT(received += socket->readAll(), "|Cnnct " + kComputerSjis, kWaitMs);
    QVERIFY(computer.errText.isEmpty());
}

void TestCpuPeer::clientGivesUp() {
    ListeningComputer computer;
    QSignalSpy finished(&computer.peer, &CpuPeer::Finished);
    computer.peer.Connect("127.0.0.1", UnusedPort());
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, kWaitMs + computer.timing.connectWindowMs);
    QCOMPARE(finished.first().first().toInt(), 1);
    QVERIFY2(computer.errText.contains("cannot connect to 127.0.0.1"), qPrintable(computer.errText));
}

QTEST_GUILESS_MAIN(TestCpuPeer)
#include "test_cpu_peer.moc"
