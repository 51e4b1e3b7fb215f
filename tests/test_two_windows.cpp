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
void CheckMirrored(const Main& a, const Main& b) {
    for (int i = 0; i < kStoneCount; ++i) {
        QCOMPARE(PointOf(b.Yourstone[i]), int(MirrorPoint(PointOf(a.Mystone[i]))));
        QCOMPARE(PointOf(a.Yourstone[i]), int(MirrorPoint(PointOf(b.Mystone[i]))));
    }
}

bool HasTurn(const Main& toMove, const Main& waiting) {
    return OwnStonesEnabled(toMove) && OwnStonesDisabled(waiting) && IsGreen(toMove.OneSelf) &&
           !IsGreen(toMove.Rival) && IsGreen(waiting.Rival) && !IsGreen(waiting.OneSelf);
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
        QTest::mouseClick(starter.window->StartGame, Qt::LeftButton);
        QTRY_COMPARE(other.LastLine(), kSecond);
        QCOMPARE(starter.LastLine(), kFirst);
        QVERIFY(starter.LastLineSelected() && other.LastLineSelected());
        QVERIFY(!starter.window->StartGame->isEnabled() && !other.window->StartGame->isEnabled());
        QVERIFY(starter.window->StartP->isHidden() && other.window->StartP->isHidden());
        QVERIFY(HasTurn(*starter.window, *other.window));
        CheckMirrored(*server->window, *client->window);
    }

    // Plays the moves; with `lastWins` the last one must win.
    void Play(const QList<Move>& moves, bool lastWins = true) {
        for (qsizetype m = 0; m < moves.size(); ++m) {
            const Move& move = moves[m];
            Player& mover = Side(move.byServer);
            Player& other = Side(!move.byServer);
            const QPoint before = other.window->Yourstone[move.stone]->pos();
            DragStone(mover, move.stone, move.to);
            QVERIFY(mover.prompter.shown.isEmpty());
            QCOMPARE(PointOf(mover.window->Mystone[move.stone]), int(move.to));
            QTRY_VERIFY(other.window->Yourstone[move.stone]->pos() != before);
            CheckMirrored(*server->window, *client->window);
            if (m + 1 < moves.size() || !lastWins) {
                QVERIFY(HasTurn(*other.window, *mover.window));
            } else {
                QTRY_COMPARE(other.LastLine(), kLose);
            }
        }
    }

    void CheckGameOver(Player& winner, Player& loser) {
        QCOMPARE(winner.LastLine(), kWin);
        for (Player* p : {&winner, &loser}) {
            QVERIFY(p->LastLineSelected());
            QVERIFY(!IsGreen(p->window->OneSelf) && !IsGreen(p->window->Rival));
            QVERIFY(p->window->StartGame->isEnabled() && OwnStonesDisabled(*p->window));
            QVERIFY(p->window->StartP->isVisible());
            QCOMPARE(p->window->StartP->pos(), geometry::kBannerRect.topLeft());
        }
        QCOMPARE(ImageOf(winner.window->StartP->Picture()), BitmapImage(bitmap::kWin));
        QCOMPARE(ImageOf(loser.window->StartP->Picture()), BitmapImage(bitmap::kLose));
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
        QCOMPARE(server->window->OneSelf->text() + server->window->Rival->text(), QStringLiteral("はなこtaro"));
        QCOMPARE(client->window->OneSelf->text() + client->window->Rival->text(), QStringLiteral("taroはなこ"));
        QStringList lines = server->Lines();
        // The addresses to give the client follow the listening line, loopback left out.
        if (lines.size() == 3) QVERIFY(lines.takeAt(1).startsWith(kAddressLead));
        QCOMPARE(lines, QStringList({kListening, kAccepted}));
        QVERIFY(!server->Lines().join("").contains("127.0.0.1") && !server->Lines().join("").contains("::1"));
        QCOMPARE(client->Lines(), QStringList({kConnecting, kConnected}));
        QVERIFY(server->window->RecieveList->selectedItems().isEmpty());
        QVERIFY(client->window->RecieveList->selectedItems().isEmpty());
        QVERIFY(!server->session.settings.ConnectAccepted && !client->session.settings.ConnectAccepted);
        QCOMPARE(ImageOf(client->window->Mystone[0]->Picture()), BitmapImage(bitmap::kBlue));
        QCOMPARE(ImageOf(client->window->Yourstone[0]->Picture()), BitmapImage(bitmap::kGreen));
    }

    // Focus coming back while connecting connects nothing again.
    void activationConnectsOnce() {
        server->Serve("sv");
        client->Join("cl", server->Port());
        client->window->Form_Activate();
        QTRY_COMPARE(client->window->Rival->text(), QStringLiteral("sv"));
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
        QVERIFY(player.window->RecieveList->selectedItems().isEmpty());
        QVERIFY(!player.window->Connection().IsConnected() && !player.window->Connection().IsListening());
        player.window->Form_Activate();
        QTest::qWait(kShortGreetingMs);
        QCOMPARE(player.Lines(), lines);
    }

    // A button pressed without a connection says so once and sends nothing.
    void actionsWithoutAConnection() {
        Main& alone = *server->window;
        server->Load();
        alone.WinNum->setText("3");
        QTest::mouseClick(alone.Reset, Qt::LeftButton);
        QCOMPARE(alone.WinNum->text(), QStringLiteral("0"));
        QTest::mouseClick(alone.StartGame, Qt::LeftButton);
        QVERIFY(!alone.StartSequenceRunning() && !alone.Mystone[0]->isEnabled());
        QTest::keyClicks(alone.TSend, "hello");
        QTest::keyClick(alone.TSend, Qt::Key_Return);
        QCOMPARE(server->Lines(), QStringList({kNotConnected, kNotConnected, kNotConnected}));
        QCOMPARE(alone.TSend->text(), QStringLiteral("hello"));
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
                closer.window->TSend->setText(QStringLiteral("bye"));
                QTest::keyClick(closer.window->TSend, Qt::Key_Return);
                QTRY_VERIFY(stayer.LastLine().endsWith(QStringLiteral(">>bye")));
            }
            QTimer::singleShot(25, closer.window.get(), [&] { closer.window->close(); });
        }
        if (when == kDuringStart) QTest::mouseClick(server->window->StartGame, Qt::LeftButton);
        QTRY_COMPARE(stayer.LastLine(), kDisconnected);
        QVERIFY(stayer.LastLineSelected());
        QVERIFY(!stayer.window->Connection().IsConnected() && !stayer.window->Connection().IsListening());
        QCOMPARE(stayer.window->Rival->text(), byServer ? "sv" : "cl");
        QTRY_VERIFY(!closer.window->StartSequenceRunning());
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
        QCOMPARE(server->window->WinNum->text() + client->window->LoseNum->text(), QStringLiteral("11"));
        Start(false);
        QCOMPARE(client->window->Model().PointEmpty(), kStartEmpty);
        QCOMPARE(server->window->Model().PointEmpty(), kStartEmpty);
        Play(game(false));
        CheckGameOver(*client, *server);
        for (Player* p : {server.get(), client.get()}) {
            QCOMPARE(p->window->WinNum->text() + p->window->LoseNum->text(), QStringLiteral("11"));
        }
    }

    // A reset zeroes both tallies mid-game and the play goes on.
    void resetMidGame() {
        QVERIFY(ConnectPair(*server, *client));
        server->window->WinNum->setText("5");
        client->window->LoseNum->setText("5");
        Start(true);
        Play({{true, 0, 3}, {false, 0, 3}}, false);
        QTest::mouseClick(client->window->Reset, Qt::LeftButton);
        QTRY_COMPARE(server->window->WinNum->text(), QStringLiteral("0"));
        QCOMPARE(client->window->LoseNum->text(), QStringLiteral("0"));
        QVERIFY(HasTurn(*server->window, *client->window));
        Play({{true, 1, 4}}, false);
    }

    void chat() {
        QVERIFY(ConnectPair(*server, *client));
        client->window->TSend->setText(QStringLiteral("こんにちは"));
        QTest::keyClick(client->window->TSend, Qt::Key_Return);
        QCOMPARE(client->LastLine(), QStringLiteral("cl>>こんにちは"));
        QVERIFY(client->window->TSend->text().isEmpty());
        QTRY_COMPARE(server->LastLine(), QStringLiteral("cl>>こんにちは"));
        QVERIFY(server->LastLineSelected() && client->LastLineSelected());
        // An empty box sends nothing; spaces are sent.
        const int lines = server->Lines().size();
        QTest::keyClick(server->window->TSend, Qt::Key_Return);
        QCOMPARE(server->Lines().size(), lines);
        server->window->TSend->setText("   ");
        QTest::keyClick(server->window->TSend, Qt::Key_Return);
        QTRY_COMPARE(client->LastLine(), QStringLiteral("sv>>   "));
        // A plain bar would start a message on the other screen and run it.
        client->window->WinNum->setText("3");
        server->session.settings.NickName = "s|v";
        server->window->TSend->setText("a|Reset b");
        QTest::keyClick(server->window->TSend, Qt::Key_Return);
        QCOMPARE(server->LastLine(), QStringLiteral("s｜v>>a｜Reset b"));
        QTRY_COMPARE(client->LastLine(), server->LastLine());
        QCOMPARE(client->window->WinNum->text(), QStringLiteral("3"));
        // A paste longer than a list line shows is cut in the chat line
        // itself, so that both screens show what was sent.
        client->window->TSend->setText(QString(3000, u'x'));
        QTest::keyClick(client->window->TSend, Qt::Key_Return);
        QCOMPARE(client->LastLine(), "cl>>" + QString(MessageList::kMaxLineLength - 4, u'x'));
        QTRY_COMPARE(server->LastLine(), client->LastLine());
    }

    // Both press at nearly the same moment: the server's start stands. A
    // second press during the start starts nothing more.
    void crossingStarts() {
        QVERIFY(ConnectPair(*server, *client));
        QTimer::singleShot(0, client->window.get(),
                           [this] { QTest::mouseClick(client->window->StartGame, Qt::LeftButton); });
        QTimer::singleShot(15, server->window.get(),
                           [this] { QTest::mouseClick(server->window->StartGame, Qt::LeftButton); });
        QTest::mouseClick(server->window->StartGame, Qt::LeftButton);
        QTRY_VERIFY(!server->window->StartSequenceRunning() && !client->window->StartSequenceRunning());
        QTRY_VERIFY(HasTurn(*server->window, *client->window));
        QCOMPARE(server->Lines().filter(QStringLiteral("ゲーム開始")), QStringList{kFirst});
        QCOMPARE(client->Lines().filter(QStringLiteral("ゲーム開始")), QStringList{kSecond});
        QVERIFY(!server->window->StartGame->isEnabled() && !client->window->StartGame->isEnabled());
    }
};

QTEST_MAIN(TwoWindowsTest)
#include "test_two_windows.moc"
