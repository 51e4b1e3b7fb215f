// Two game windows joined over loopback: greeting and system lines, whole
// games played with the mouse, chat, and the ways a connection fails or ends.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

#include "support/window_test.h"
#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/picture_box.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::testing::line;

namespace {

// When a window closes.
enum { kBetweenGames, kDuringStart, kDuringRuleBox };
// What stands at the other end of a failing connection.
enum { kRefusing, kPortHeld, kSilent };
constexpr int kShortGreetingMs = 300;
const QString kAddressLead = QStringLiteral("☆☆☆　接続先：");

// One move: who moves, which stone, to which point in the mover's numbering.
struct Move {
    bool byServer;
    int stone;
    PointIndex to;
};

// Stone i of one side stands, on the other screen, on the mirrored point.
void CheckMirrored(const Player& a, const Player& b) {
    for (int i = 0; i < kStoneCount; ++i) {
        QCOMPARE(PointOf(b.Rival(i)), int(MirrorPoint(PointOf(a.Own(i)))));
        QCOMPARE(PointOf(a.Rival(i)), int(MirrorPoint(PointOf(b.Own(i)))));
    }
}

bool HasTurn(const Player& toMove, const Player& waiting) {
    return OwnStonesEnabled(toMove) && OwnStonesDisabled(waiting) && IsGreen(toMove.Form().ownName) &&
           !IsGreen(toMove.Form().rivalName) && IsGreen(waiting.Form().rivalName) && !IsGreen(waiting.Form().ownName);
}

}  // namespace

class TwoWindowsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Player> server;
    std::unique_ptr<Player> client;

    Player& Side(bool isServer) { return isServer ? *server : *client; }

    void Start(bool byServer) {
        Player& starter = Side(byServer);
        Player& other = Side(!byServer);
        QTest::mouseClick(starter.Form().startButton, Qt::LeftButton);
        QTRY_COMPARE(other.LastLine(), kSecond);
        QCOMPARE(starter.LastLine(), kFirst);
        QVERIFY(starter.LastLineSelected() && other.LastLineSelected());
        QVERIFY(!starter.Form().startButton->isEnabled() && !other.Form().startButton->isEnabled());
        QVERIFY(starter.Board().BannerBox()->isHidden() && other.Board().BannerBox()->isHidden());
        QVERIFY(HasTurn(starter, other));
        CheckMirrored(*server, *client);
    }

    // Plays the moves; with `lastWins` the last one must win.
    void Play(const QList<Move>& moves, bool lastWins = true) {
        for (qsizetype m = 0; m < moves.size(); ++m) {
            const Move& move = moves[m];
            Player& mover = Side(move.byServer);
            Player& other = Side(!move.byServer);
            const QPoint before = other.Rival(move.stone)->pos();
            DragStone(mover, move.stone, move.to);
            QVERIFY(mover.prompter.shown.isEmpty());
            QCOMPARE(PointOf(mover.Own(move.stone)), int(move.to));
            QTRY_VERIFY(other.Rival(move.stone)->pos() != before);
            CheckMirrored(*server, *client);
            if (m + 1 < moves.size() || !lastWins) {
                QVERIFY(HasTurn(other, mover));
            } else {
                QTRY_COMPARE(other.LastLine(), kLose);
            }
        }
    }

    void CheckGameOver(Player& winner, Player& loser) {
        QCOMPARE(winner.LastLine(), kWin);
        for (Player* p : {&winner, &loser}) {
            QVERIFY(p->LastLineSelected());
            QVERIFY(!IsGreen(p->Form().ownName) && !IsGreen(p->Form().rivalName));
            QVERIFY(p->Form().startButton->isEnabled() && OwnStonesDisabled(*p));
            QVERIFY(p->Board().BannerBox()->isVisible());
            QCOMPARE(p->Board().BannerBox()->pos(), geometry::kBannerRect.topLeft());
        }
        QCOMPARE(ImageOf(winner.Board().BannerBox()->Picture()), BitmapImage(bitmap::kWin));
        QCOMPARE(ImageOf(loser.Board().BannerBox()->Picture()), BitmapImage(bitmap::kLose));
    }

private slots:
    void init() {
        server = std::make_unique<Player>();
        client = std::make_unique<Player>();
    }

    void cleanup() {
        client.reset();
        server.reset();
    }

    // Each sees the other's name and its own system lines, none selected; on
    // both screens the server's stones are green and the client's blue.
    void greeting() {
        QVERIFY(ConnectPair(*server, *client, "はなこ", "taro"));
        QCOMPARE(server->Form().ownName->text() + server->Form().rivalName->text(), QStringLiteral("はなこtaro"));
        QCOMPARE(client->Form().ownName->text() + client->Form().rivalName->text(), QStringLiteral("taroはなこ"));
        QStringList lines = server->Lines();
        // The addresses to give the client follow the listening line, loopback left out.
        if (lines.size() == 3) QVERIFY(lines.takeAt(1).startsWith(kAddressLead));
        QCOMPARE(lines, QStringList({kListening, kAccepted}));
        QVERIFY(!server->Lines().join("").contains("127.0.0.1") && !server->Lines().join("").contains("::1"));
        QCOMPARE(client->Lines(), QStringList({kConnecting, kConnected}));
        QVERIFY(server->Form().messageList->selectedItems().isEmpty());
        QVERIFY(client->Form().messageList->selectedItems().isEmpty());
        QCOMPARE(ImageOf(client->Own(0)->Picture()), BitmapImage(bitmap::kBlue));
        QCOMPARE(ImageOf(client->Rival(0)->Picture()), BitmapImage(bitmap::kGreen));
    }

    // Focus coming back while connecting connects nothing again.
    void activationConnectsOnce() {
        server->Serve("sv");
        client->Join("cl", server->Port());
        Activate(*client);
        QTRY_COMPARE(client->Form().rivalName->text(), QStringLiteral("sv"));
        QCOMPARE(client->Lines().count(kConnecting), 1);
        QCOMPARE(server->Lines().count(kAccepted), 1);
    }

    void failures_data() {
        QTest::addColumn<int>("role");
        QTest::addColumn<QStringList>("lines");  // "%1": the port
        QTest::newRow("refused") << int(kRefusing) << QStringList{kConnecting, "接続が拒否されました"};
        QTest::newRow("port in use") << int(kPortHeld) << QStringList{kListening, "ポート%1は既に使用されています"};
        QTest::newRow("a server that never answers the greeting")
            << int(kSilent) << QStringList{kConnecting, kConnected, "接続がタイムアウトしました"};
    }

    // Said in a line that leaves the selection alone; the connection is over
    // and activation does not start it again.
    void failures() {
        QFETCH(int, role);
        QFETCH(QStringList, lines);
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::Any, 0));
        const quint16 port = role == kRefusing ? UnusedPort() : other.serverPort();
        Player player(kStartStepMs, kShortGreetingMs);
        if (role == kPortHeld) {
            player.Serve("sv", port);
        } else {
            player.Join("cl", port);
        }
        lines.replaceInStrings("%1", QString::number(port));
        QTRY_COMPARE(player.Lines(), lines);
        QVERIFY(player.Form().messageList->selectedItems().isEmpty());
        QVERIFY(!player.window->Connection().IsConnected() && !player.window->Connection().IsListening());
        Activate(player);
        QTest::qWait(kShortGreetingMs);
        QCOMPARE(player.Lines(), lines);
    }

    // A button pressed without a connection says so once and sends nothing.
    void actionsWithoutAConnection() {
        Player& alone = *server;
        server->Load();
        alone.Form().winCount->setText("3");
        QTest::mouseClick(alone.Form().resetButton, Qt::LeftButton);
        QCOMPARE(alone.Form().winCount->text(), QStringLiteral("0"));
        QTest::mouseClick(alone.Form().startButton, Qt::LeftButton);
        QVERIFY(!alone.Game().StartRunning() && !alone.Own(0)->isEnabled());
        QTest::keyClicks(alone.Form().chatLine, "hello");
        QTest::keyClick(alone.Form().chatLine, Qt::Key_Return);
        QCOMPARE(server->Lines(), QStringList({kNotConnected, kNotConnected, kNotConnected}));
        QCOMPARE(alone.Form().chatLine->text(), QStringLiteral("hello"));
    }

    void closing_data() {
        QTest::addColumn<bool>("byServer");
        QTest::addColumn<int>("when");
        QTest::newRow("between games") << false << int(kBetweenGames);
        QTest::newRow("the starter, during the start") << true << int(kDuringStart);
        QTest::newRow("the receiver, during the start") << false << int(kDuringStart);
        QTest::newRow("while its rule box is open") << true << int(kDuringRuleBox);
    }

    // The one left shows the selected line; the one closing stops its start.
    void closing() {
        QFETCH(bool, byServer);
        QFETCH(int, when);
        QVERIFY(ConnectPair(*server, *client));
        Player& closer = Side(byServer);
        Player& stayer = Side(!byServer);
        if (when == kDuringRuleBox) {
            Start(true);
            closer.prompter.whileOpen = [&] { closer.window->close(); };
            DragStone(closer, 0, 0);
            QCOMPARE(closer.prompter.shown.size(), 1);
        } else {
            if (when == kBetweenGames) {
                // A chat first: the rival stays greeted through reads without a name.
                closer.Form().chatLine->setText(QStringLiteral("bye"));
                QTest::keyClick(closer.Form().chatLine, Qt::Key_Return);
                QTRY_VERIFY(stayer.LastLine().endsWith(QStringLiteral(">>bye")));
            }
            QTimer::singleShot(25, closer.window.get(), [&] { closer.window->close(); });
        }
        if (when == kDuringStart) QTest::mouseClick(server->Form().startButton, Qt::LeftButton);
        QTRY_COMPARE(stayer.LastLine(), kDisconnected);
        QVERIFY(stayer.LastLineSelected());
        QVERIFY(!stayer.window->Connection().IsConnected() && !stayer.window->Connection().IsListening());
        QCOMPARE(stayer.Form().rivalName->text(), byServer ? "sv" : "cl");
        QTRY_VERIFY(!closer.Game().StartRunning());
        QVERIFY(!closer.window->Connection().IsConnected() && !closer.window->Connection().IsListening());
        if (when == kDuringStart) QVERIFY(!closer.Lines().contains(kFirst) && !closer.Lines().contains(kSecond));
    }

    // The server starts and wins on the middle column, then the client does
    // the same.
    void twoWholeGames() {
        QVERIFY(ConnectPair(*server, *client));
        const auto game = [](bool s) { return QList<Move>{{s, 2, 4}, {!s, 1, 3}, {s, 0, 3}, {!s, 1, 0}, {s, 0, 1}}; };
        Start(true);
        Play(game(true));
        CheckGameOver(*server, *client);
        QCOMPARE(server->Form().winCount->text() + client->Form().lossCount->text(), QStringLiteral("11"));
        Start(false);
        QCOMPARE(client->Game().Board().PointEmpty(), kStartEmpty);
        QCOMPARE(server->Game().Board().PointEmpty(), kStartEmpty);
        Play(game(false));
        CheckGameOver(*client, *server);
        for (Player* p : {server.get(), client.get()}) {
            QCOMPARE(p->Form().winCount->text() + p->Form().lossCount->text(), QStringLiteral("11"));
        }
    }

    // A reset zeroes both tallies mid-game and the play goes on.
    void resetMidGame() {
        QVERIFY(ConnectPair(*server, *client));
        server->Form().winCount->setText("5");
        client->Form().lossCount->setText("5");
        Start(true);
        Play({{true, 0, 3}, {false, 0, 3}}, false);
        QTest::mouseClick(client->Form().resetButton, Qt::LeftButton);
        QTRY_COMPARE(server->Form().winCount->text(), QStringLiteral("0"));
        QCOMPARE(client->Form().lossCount->text(), QStringLiteral("0"));
        QVERIFY(HasTurn(*server, *client));
        Play({{true, 1, 4}}, false);
    }

    void chat() {
        QVERIFY(ConnectPair(*server, *client, "s|v"));
        client->Form().chatLine->setText(QStringLiteral("こんにちは"));
        QTest::keyClick(client->Form().chatLine, Qt::Key_Return);
        QCOMPARE(client->LastLine(), QStringLiteral("cl>>こんにちは"));
        QVERIFY(client->Form().chatLine->text().isEmpty());
        QTRY_COMPARE(server->LastLine(), QStringLiteral("cl>>こんにちは"));
        QVERIFY(server->LastLineSelected() && client->LastLineSelected());
        // An empty box sends nothing; spaces are sent.
        const int lines = server->Lines().size();
        QTest::keyClick(server->Form().chatLine, Qt::Key_Return);
        QCOMPARE(server->Lines().size(), lines);
        server->Form().chatLine->setText("   ");
        QTest::keyClick(server->Form().chatLine, Qt::Key_Return);
        QTRY_COMPARE(client->LastLine(), QStringLiteral("s｜v>>   "));
        // A plain bar would start a message on the other screen and run it.
        client->Form().winCount->setText("3");
        server->Form().chatLine->setText("a|Reset b");
        QTest::keyClick(server->Form().chatLine, Qt::Key_Return);
        QCOMPARE(server->LastLine(), QStringLiteral("s｜v>>a｜Reset b"));
        QTRY_COMPARE(client->LastLine(), server->LastLine());
        QCOMPARE(client->Form().winCount->text(), QStringLiteral("3"));
        // A paste longer than a list line shows is cut in the chat line
        // itself, so that both screens show what was sent.
        client->Form().chatLine->setText(QString(3000, u'x'));
        QTest::keyClick(client->Form().chatLine, Qt::Key_Return);
        QCOMPARE(client->LastLine(), "cl>>" + QString(MessageList::kMaxLineLength - 4, u'x'));
        QTRY_COMPARE(server->LastLine(), client->LastLine());
    }

    // Both press at nearly the same moment: the server's start stands. A
    // second press during the start starts nothing more.
    void crossingStarts() {
        QVERIFY(ConnectPair(*server, *client));
        QTimer::singleShot(0, client->window.get(),
                           [this] { QTest::mouseClick(client->Form().startButton, Qt::LeftButton); });
        QTimer::singleShot(15, server->window.get(),
                           [this] { QTest::mouseClick(server->Form().startButton, Qt::LeftButton); });
        QTest::mouseClick(server->Form().startButton, Qt::LeftButton);
        QTRY_VERIFY(!server->Game().StartRunning() && !client->Game().StartRunning());
        QTRY_VERIFY(HasTurn(*server, *client));
        QCOMPARE(server->Lines().filter(QStringLiteral("ゲーム開始")), QStringList{kFirst});
        QCOMPARE(client->Lines().filter(QStringLiteral("ゲーム開始")), QStringList{kSecond});
        QVERIFY(!server->Form().startButton->isEnabled() && !client->Form().startButton->isEnabled());
    }
};

QTEST_MAIN(TwoWindowsTest)
#include "test_two_windows.moc"
