// Two game windows joined over loopback: greeting and system lines, games
// played with the mouse, chat, and the ways a connection fails or ends.

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
// How a connection ends: refused, the port to listen on taken, a server
// that never answers, the rival gone (to come back, or another to come).
enum { kRefusing, kPortHeld, kSilent, kSameRivalBack, kOtherRival };
constexpr int kShortGreetingMs = 300;
const QString kAddressLead = QStringLiteral("☆☆☆　接続先：");

// One move: who moves, which stone, to which point in the mover's numbering.
struct Move {
    bool byServer;
    int stone;
    PointIndex to;
};

// Stone i of one side stands, on the other screen, on the mirrored point.
void checkMirrored(const Player& a, const Player& b) {
    for (int i = 0; i < kStoneCount; ++i) {
        QCOMPARE(pointOf(b.rival(i)), int(mirrorPoint(pointOf(a.own(i)))));
        QCOMPARE(pointOf(a.rival(i)), int(mirrorPoint(pointOf(b.own(i)))));
    }
}

bool hasTurn(const Player& toMove, const Player& waiting) {
    return ownStonesEnabled(toMove) && ownStonesDisabled(waiting) && isGreen(toMove.form().ownName) &&
           !isGreen(toMove.form().rivalName) && isGreen(waiting.form().rivalName) && !isGreen(waiting.form().ownName);
}

}  // namespace

class TwoWindowsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Player> server;
    std::unique_ptr<Player> client;

    Player& side(bool isServer) { return isServer ? *server : *client; }

    void start(bool byServer) {
        Player& starter = side(byServer);
        Player& other = side(!byServer);
        QTest::mouseClick(starter.form().startButton, Qt::LeftButton);
        QTRY_COMPARE(other.lastLine(), kSecond);
        QCOMPARE(starter.lastLine(), kFirst);
        QVERIFY(starter.lastLineSelected() && other.lastLineSelected());
        QVERIFY(starter.board().bannerBox()->isHidden() && other.board().bannerBox()->isHidden());
        QVERIFY(hasTurn(starter, other));
        checkMirrored(*server, *client);
    }

    // Plays the moves; the last one ends the game with `ending` on the
    // other screen, unless that is empty.
    void play(const QList<Move>& moves, const QString& ending = kLose) {
        for (qsizetype m = 0; m < moves.size(); ++m) {
            const Move& move = moves[m];
            Player& mover = side(move.byServer);
            Player& other = side(!move.byServer);
            const QPoint before = other.rival(move.stone)->pos();
            dragStone(mover, move.stone, move.to);
            QVERIFY(mover.prompter.shown.isEmpty());
            QCOMPARE(pointOf(mover.own(move.stone)), int(move.to));
            QTRY_VERIFY(other.rival(move.stone)->pos() != before);
            checkMirrored(*server, *client);
            if (m + 1 < moves.size() || ending.isEmpty()) {
                QVERIFY(hasTurn(other, mover));
            } else {
                QTRY_COMPARE(other.lastLine(), ending);
            }
        }
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
        QVERIFY(connectPair(*server, *client, "はなこ", "taro"));
        QCOMPARE(server->form().ownName->text() + server->form().rivalName->text(), QStringLiteral("はなこtaro"));
        QCOMPARE(client->form().ownName->text() + client->form().rivalName->text(), QStringLiteral("taroはなこ"));
        QStringList lines = server->lines();
        // The addresses to give the client follow the listening line, loopback left out.
        if (lines.size() == 3) QVERIFY(lines.takeAt(1).startsWith(kAddressLead));
        QCOMPARE(lines, QStringList({kListening, kAccepted}));
        QVERIFY(!server->lines().join("").contains("127.0.0.1") && !server->lines().join("").contains("::1"));
        QCOMPARE(client->lines(), QStringList({kConnecting, kConnected}));
        QVERIFY(server->form().messageList->selectedItems().isEmpty());
        QVERIFY(client->form().messageList->selectedItems().isEmpty());
        QCOMPARE(imageOf(client->own(0)->picture()), bitmapImage(bitmap::kBlue));
        QCOMPARE(imageOf(client->rival(0)->picture()), bitmapImage(bitmap::kGreen));
    }

    void endsAndPlaysAgain_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<QStringList>("lines");  // the last lines; "%1": the port
        QTest::addColumn<QString>("tally");      // with the next rival
        const QString refused = "接続が拒否されました", timedOut = "接続がタイムアウトしました";
        QTest::newRow("refused") << int(kRefusing) << QStringList{kConnecting, refused} << "00";
        // Only the failure: listening never began.
        QTest::newRow("port in use") << int(kPortHeld) << QStringList{"ポート%1は既に使用されています"} << "00";
        QTest::newRow("a server that never answers") << int(kSilent) << QStringList{kConnected, timedOut} << "00";
        QTest::newRow("the rival left and came back") << int(kSameRivalBack) << QStringList{kDisconnected} << "34";
        QTest::newRow("the rival left, another came") << int(kOtherRival) << QStringList{kDisconnected} << "00";
    }

    // A connection that ends for good says why; 新しい対戦 then offers the
    // dialog again, and the next connection starts from a clean board, the
    // tally kept only when the same rival comes back.
    void endsAndPlaysAgain() {
        QFETCH(int, how);
        QFETCH(QStringList, lines);
        QFETCH(QString, tally);
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::Any, 0));
        Player player(kStartStepMs, kShortGreetingMs), first, next;
        const bool serving = how != kRefusing && how != kSilent;
        if (how == kPortHeld) player.serve("me", other.serverPort());
        if (!serving) player.join("me", how == kRefusing ? unusedPort() : other.serverPort());
        if (how == kSameRivalBack || how == kOtherRival) {
            QVERIFY(connectPair(player, first, "me", "cl"));
            player.form().winCount->setText("3");
            player.form().lossCount->setText("4");
            first.window->close();
        }
        lines.replaceInStrings("%1", QString::number(other.serverPort()));
        QTRY_COMPARE(player.lines().mid(player.lines().size() - lines.size()), lines);
        QVERIFY(!player.window->connection().isConnected() && !player.window->connection().isListening());
        QVERIFY(player.form().newMatchButton->isVisible());
        QTest::mouseClick(player.form().newMatchButton, Qt::LeftButton);
        const Ui::ConnectionDialog& dialog = player.window->dialog()->form();
        QCOMPARE(dialog.nameEdit->text(), QStringLiteral("me"));
        if (serving) {
            dialog.portEdit->setText(QString::number(unusedPort()));
            QTest::mouseClick(dialog.okButton, Qt::LeftButton);
            next.join(how == kSameRivalBack ? "cl" : "taro", player.port());
        } else {
            next.serve("sv");
            dialog.portEdit->setText(QString::number(next.port()));
            QTest::mouseClick(dialog.okButton, Qt::LeftButton);
        }
        QTRY_COMPARE(next.form().rivalName->text(), QStringLiteral("me"));
        QTRY_VERIFY(player.form().rivalName->text() == next.form().ownName->text());
        QVERIFY(!player.form().newMatchButton->isVisible());
        QCOMPARE(player.game().board().pointEmpty(), kStartEmpty);
        QCOMPARE(player.form().winCount->text() + player.form().lossCount->text(), tally);
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
        QVERIFY(connectPair(*server, *client));
        Player& closer = side(byServer);
        Player& stayer = side(!byServer);
        if (when == kDuringRuleBox) {
            start(true);
            closer.prompter.whileOpen = [&] { closer.window->close(); };
            dragStone(closer, 0, 0);
            QCOMPARE(closer.prompter.shown.size(), 1);
        } else {
            if (when == kBetweenGames) {
                // A chat first: the rival stays greeted through reads without a name.
                closer.form().chatLine->setText(QStringLiteral("bye"));
                QTest::keyClick(closer.form().chatLine, Qt::Key_Return);
                QTRY_VERIFY(stayer.lastLine().endsWith(QStringLiteral(">>bye")));
            }
            QTimer::singleShot(25, closer.window.get(), [&] { closer.window->close(); });
        }
        if (when == kDuringStart) QTest::mouseClick(server->form().startButton, Qt::LeftButton);
        QTRY_COMPARE(stayer.lastLine(), kDisconnected);
        QVERIFY(stayer.lastLineSelected());
        QVERIFY(!stayer.window->connection().isConnected() && !stayer.window->connection().isListening());
        QCOMPARE(stayer.form().rivalName->text(), byServer ? "sv" : "cl");
        QTRY_VERIFY(!closer.game().state().startRunning);
        QVERIFY(!closer.window->connection().isConnected() && !closer.window->connection().isListening());
        if (when == kDuringStart) QVERIFY(!closer.lines().contains(kFirst) && !closer.lines().contains(kSecond));
    }

    void chat() {
        QVERIFY(connectPair(*server, *client, "s|v"));
        client->form().chatLine->setText(QStringLiteral("こんにちは"));
        QTest::keyClick(client->form().chatLine, Qt::Key_Return);
        QCOMPARE(client->lastLine(), QStringLiteral("cl>>こんにちは"));
        QVERIFY(client->form().chatLine->text().isEmpty());
        QTRY_COMPARE(server->lastLine(), QStringLiteral("cl>>こんにちは"));
        QVERIFY(server->lastLineSelected() && client->lastLineSelected());
        // An empty box sends nothing; spaces are sent.
        const int lines = server->lines().size();
        QTest::keyClick(server->form().chatLine, Qt::Key_Return);
        QCOMPARE(server->lines().size(), lines);
        server->form().chatLine->setText("   ");
        QTest::keyClick(server->form().chatLine, Qt::Key_Return);
        QTRY_COMPARE(client->lastLine(), QStringLiteral("s｜v>>   "));
        // A plain bar would start a message on the other screen and run it.
        client->form().winCount->setText("3");
        server->form().chatLine->setText("a|Reset b");
        QTest::keyClick(server->form().chatLine, Qt::Key_Return);
        QCOMPARE(server->lastLine(), QStringLiteral("s｜v>>a｜Reset b"));
        QTRY_COMPARE(client->lastLine(), server->lastLine());
        QCOMPARE(client->form().winCount->text(), QStringLiteral("3"));
        // A paste longer than a list line shows is cut in the chat line
        // itself, so that both screens show what was sent.
        client->form().chatLine->setText(QString(3000, u'x'));
        QTest::keyClick(client->form().chatLine, Qt::Key_Return);
        QCOMPARE(client->lastLine(), "cl>>" + QString(MessageList::kMaxLineLength - 4, u'x'));
        QTRY_COMPARE(server->lastLine(), client->lastLine());
    }

    // Each side takes a stone out and back twice: the third time the start
    // position stands with the server to move, both screens call it a
    // draw; the tally stays.
    void drawByRepetition() {
        QVERIFY(connectPair(*server, *client));
        start(true);
        const QList<Move> outAndBack = {{true, 0, 3}, {false, 0, 3}, {true, 0, 6}, {false, 0, 6}};
        play(outAndBack + outAndBack, kDraw);
        for (Player* p : {server.get(), client.get()}) {
            QCOMPARE(p->lastLine(), kDraw);
            QCOMPARE(p->form().winCount->text() + p->form().lossCount->text(), QStringLiteral("00"));
            QVERIFY(ownStonesDisabled(*p) && !isGreen(p->form().ownName) && !isGreen(p->form().rivalName));
        }
        QCOMPARE(imageOf(server->board().bannerBox()->picture()), bitmapImage(bitmap::kDraw));
    }

    void newGameDuringAGame_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("given up") << true;
        QTest::newRow("kept") << false;
    }

    // ゲーム開始 during a game asks first: yes gives the game up for a new one
    // on both screens, counted for neither side; no leaves it as it was.
    void newGameDuringAGame() {
        QFETCH(bool, yes);
        QVERIFY(connectPair(*server, *client));
        start(true);
        play({{true, 0, 3}}, {});
        client->prompter.answer = yes;
        QTest::mouseClick(client->form().startButton, Qt::LeftButton);
        QCOMPARE(client->prompter.shown,
                 QStringList{"question|ゲーム開始|このゲームをやめて、新しいゲームを始めますか？"});
        if (yes) {
            QTRY_COMPARE(server->lastLine(), kSecond);
            QTRY_COMPARE(client->lastLine(), kFirst);
            QVERIFY(hasTurn(*client, *server));
            QCOMPARE(client->game().board().pointEmpty(), kStartEmpty);
        } else {
            QTest::qWait(50);
            QVERIFY(!client->game().state().startRunning && hasTurn(*client, *server));
            QCOMPARE(pointOf(client->rival(0)), 5);
        }
        for (Player* p : {server.get(), client.get()}) {
            QCOMPARE(p->form().winCount->text() + p->form().lossCount->text(), QStringLiteral("00"));
        }
    }
};

QTEST_MAIN(TwoWindowsTest)
#include "test_two_windows.moc"
