// A game window serving a peer that floods it, sends oversized messages or
// times them badly: the window must stay bounded and keep answering.

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "support/expected_lines.h"
#include "support/moves.h"
#include "support/raw_peer.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::testing::line;

namespace {

// Long enough that a move sent during the start sequence lands inside it.
constexpr int kStepMs = 50;
// The list keeps this many lines, each cut to this many characters and "…".
constexpr int kListCap = 5000;
constexpr int kLineCap = 2000;
constexpr int kNameCap = 64;
constexpr qsizetype kHuge = 2 * 1024 * 1024;

// A gap that lasts until the window has handled everything before it.
constexpr int kSettled = -1;

// `times` writes of `bytes`, each after waiting `gapMs`; with `oneWrite`
// the copies go out joined, in one write.
struct Burst {
    QByteArray bytes;
    int times = 1;
    int gapMs = 0;
    bool oneWrite = false;
};
using Bursts = QList<Burst>;

// Someone else on the server's port: a connection closed at once before the
// peer's, or a second client after it.
enum class Intruder { None, ClosesBefore, Second };

// What a received chat line of "a>>" and many "x" shows.
const QString kCutChat = "a>>" + QString(kLineCap - 3, u'x') + "…";

}  // namespace

Q_DECLARE_METATYPE(Bursts)
Q_DECLARE_METATYPE(Intruder)
Q_DECLARE_METATYPE(Turn)

class HostileTest : public QObject {
    Q_OBJECT
private:
    // Waits until the window has read all the peer wrote and handled any
    // kept tail. On a loaded machine the window may read a flood for seconds
    // after the peer's last write has left it.
    static void Settle(Player& player, RawPeer& peer) {
        QTRY_VERIFY_WITH_TIMEOUT(peer.AllRead(player), 20000);
        QTest::qWait(kReadWindowMs + 100);
        QTRY_VERIFY_WITH_TIMEOUT(!player.window->StartSequenceRunning(), 10000);
    }

    static void Wait(Player& player, RawPeer& peer, int gapMs) {
        if (gapMs == kSettled) {
            Settle(player, peer);
        } else {
            QTest::qWait(gapMs);
        }
    }

    static void Send(Player& player, RawPeer& peer, const Burst& burst) {
        const int writes = burst.oneWrite ? 1 : burst.times;
        for (int i = 0; i < writes; ++i) {
            Wait(player, peer, burst.gapMs);
            peer.socket.write(burst.oneWrite ? burst.bytes.repeated(burst.times) : burst.bytes);
            peer.socket.flush();
        }
    }

    static void Intrude(Player& player, Intruder intruder, QTcpSocket& other) {
        other.connectToHost(QHostAddress::LocalHost, player.Port());
        if (intruder == Intruder::ClosesBefore) {
            QVERIFY(other.waitForConnected());
            other.abort();
            QTRY_COMPARE(player.Lines().count(kListening), 2);
        } else {
            QTRY_COMPARE(other.state(), QAbstractSocket::UnconnectedState);
        }
    }

private slots:
    void peer_data() {
        QTest::addColumn<Intruder>("intruder");
        QTest::addColumn<Bursts>("bursts");
        QTest::addColumn<bool>("startAfter");   // the local player starts a game once all is handled
        QTest::addColumn<int>("added");         // lines the bursts add, before the list drops any
        QTest::addColumn<QStringList>("tail");  // the list's last lines
        QTest::addColumn<QString>("rival");
        QTest::addColumn<Turn>("turn");
        QTest::addColumn<QByteArray>("reply");
        const Burst greeting{"|Cnnct z", 1, kSettled};
        const QByteArray huge(kHuge, 'x');
        QTest::newRow("starts one per read, then a greeting")
            << Intruder::None << Bursts{{"|StrtG ", 300, 3}, {"|Cnnct z", 1, 3}} << false << 1 << QStringList{kSecond}
            << "z" << Turn::Rival << QByteArray("|SName sv");
        QTest::newRow("starts in one read, a win, then the local player starts")
            << Intruder::None << Bursts{{"|StrtG ", 1000, 0, true}, {"|Finis ", 1, kSettled}} << true << 3
            << QStringList{kSecond, kLose, kFirst} << "相手" << Turn::Mine << QByteArray("|StrtG ");
        QTest::newRow("the rival moves during its start")
            << Intruder::None << Bursts{{"|StrtG "}, {"|SetSt 036", 1, 2 * kStepMs}} << false << 1
            << QStringList{kSecond} << "相手" << Turn::Mine << QByteArray();
        QTest::newRow("chat flood in one write, then a greeting")
            << Intruder::None << Bursts{{"|Speak a>>hi", 40000, 0, true}, {"|Speak a>>end"}, greeting} << false << 40001
            << QStringList{"a>>hi", "a>>end"} << "z" << Turn::None << QByteArray("|SName sv");
        QTest::newRow("huge chat line, then a greeting")
            << Intruder::None << Bursts{{"|Speak a>>" + huge}, {"|Cnnct z", 1, kSettled}} << false << 1
            << QStringList{kCutChat} << "z" << Turn::None << QByteArray("|SName sv");
        QTest::newRow("huge name answered once")
            << Intruder::None << Bursts{{"|Cnnct " + huge}} << false << 0 << QStringList{}
            << QString(kNameCap, u'x') + "…" << Turn::None << QByteArray("|SName sv");
        QTest::newRow("huge text without a bar, then a greeting")
            << Intruder::None << Bursts{{huge}, greeting} << false << -1 << QStringList{} << "z" << Turn::None
            << QByteArray("|SName sv");
        QTest::newRow("kept lead byte dropped when the window closes")
            << Intruder::None << Bursts{{"|Speak a>>x\x81"}, {"|Cnnct z", 1, kSettled}} << false << 1
            << QStringList{"a>>x"} << "z" << Turn::None << QByteArray("|SName sv");
        QTest::newRow("greeting right behind a long chat line")
            << Intruder::None << Bursts{{"|Speak a>>" + QByteArray(100000, 'x') + "|Cnnct z"}} << false << 1
            << QStringList{kCutChat} << "z" << Turn::None << QByteArray("|SName sv");
        QTest::newRow("a connection closed before the real client")
            << Intruder::ClosesBefore << Bursts{greeting} << false << 0 << QStringList{kListening, kAccepted} << "z"
            << Turn::None << QByteArray("|SName sv");
        QTest::newRow("a second client is turned away")
            << Intruder::Second << Bursts{greeting} << false << 0 << QStringList{kAccepted} << "z" << Turn::None
            << QByteArray("|SName sv");
    }

    void peer() {
        QFETCH(Intruder, intruder);
        QFETCH(Bursts, bursts);
        QFETCH(bool, startAfter);
        QFETCH(int, added);
        QFETCH(QStringList, tail);
        QFETCH(QString, rival);
        QFETCH(Turn, turn);
        QFETCH(QByteArray, reply);
        Player player(kStepMs);
        player.Serve("sv");
        QTcpSocket other;
        if (intruder == Intruder::ClosesBefore) Intrude(player, intruder, other);
        if (QTest::currentTestFailed()) return;
        RawPeer peer;
        QVERIFY(peer.ConnectTo(player));
        peer.socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (intruder == Intruder::Second) Intrude(player, intruder, other);
        if (QTest::currentTestFailed()) return;
        Main& window = *player.window;
        const int before = window.RecieveList->count();

        for (const Burst& burst : bursts) Send(player, peer, burst);
        Settle(player, peer);
        if (startAfter) {
            QTest::mouseClick(window.StartGame, Qt::LeftButton);
            Settle(player, peer);
        }

        const QStringList lines = player.Lines();
        if (added >= 0) QCOMPARE(lines.size(), qMin(before + added, kListCap));
        QCOMPARE(lines.mid(lines.size() - tail.size()), tail);
        for (const QString& shown : lines) QVERIFY(shown.size() <= kLineCap + 1);
        QCOMPARE(window.Rival->text(), rival);
        QCOMPARE(IsGreen(window.OneSelf), turn == Turn::Mine);
        QCOMPARE(IsGreen(window.Rival), turn == Turn::Rival);
        QCOMPARE(OwnStonesEnabled(window), turn == Turn::Mine);
        if (!reply.isEmpty()) QVERIFY(peer.WaitFor(reply.size()));
        QTest::qWait(50);
        QCOMPARE(peer.Take(), reply);
    }
};

QTEST_MAIN(HostileTest)
#include "test_hostile.moc"
