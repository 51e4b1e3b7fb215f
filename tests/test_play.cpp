// Whole games between two windows over loopback, played with the mouse.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "support/expected_lines.h"
#include "support/moves.h"
#include "ui/board_geometry.h"
#include "ui/picture_box.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::testing::line;

namespace {

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

void CheckTurn(const Main& toMove, const Main& waiting) {
    QVERIFY(OwnStonesEnabled(toMove));
    QVERIFY(OwnStonesDisabled(waiting));
    QVERIFY(IsGreen(toMove.OneSelf) && !IsGreen(toMove.Rival));
    QVERIFY(IsGreen(waiting.Rival) && !IsGreen(waiting.OneSelf));
}

}  // namespace

class PlayTest : public QObject {
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
        CheckTurn(*starter.window, *other.window);
        CheckMirrored(*server->window, *client->window);
    }

    // Plays the moves; with `lastWins` the last one must win.
    void Play(const QList<Move>& moves, bool lastWins = true) {
        for (qsizetype m = 0; m < moves.size(); ++m) {
            const Move& move = moves[m];
            Player& mover = Side(move.byServer);
            Player& other = Side(!move.byServer);
            const QPointF before = other.window->Yourstone[move.stone]->pos();
            DragStone(mover, move.stone, move.to);
            QVERIFY(mover.prompter.shown.isEmpty());
            QCOMPARE(PointOf(mover.window->Mystone[move.stone]), int(move.to));
            QTRY_VERIFY(other.window->Yourstone[move.stone]->pos() != before);
            CheckMirrored(*server->window, *client->window);
            if (m + 1 < moves.size() || !lastWins) {
                CheckTurn(*other.window, *mover.window);
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
            QVERIFY(p->window->StartGame->isEnabled());
            QVERIFY(p->window->StartP->isVisible());
            QCOMPARE(p->window->StartP->pos(), geometry::kBannerRect.topLeft());
            QVERIFY(OwnStonesDisabled(*p->window));
        }
    }

private slots:
    void init() {
        server = std::make_unique<Player>();
        client = std::make_unique<Player>();
        QVERIFY(ConnectPair(*server, *client));
    }

    void cleanup() {
        client.reset();
        server.reset();
    }

    // The server starts and wins on the middle column, then the client does
    // the same; a reset in between zeroes both tallies mid-game.
    void twoWholeGames() {
        const auto game = [](bool starterIsServer) {
            const bool s = starterIsServer;
            return QList<Move>{{s, 2, 4}, {!s, 1, 3}, {s, 0, 3}, {!s, 1, 0}, {s, 0, 1}};
        };
        Start(true);
        Play(game(true));
        CheckGameOver(*server, *client);
        QCOMPARE(server->window->WinNum->text(), QStringLiteral("1"));
        QCOMPARE(client->window->LoseNum->text(), QStringLiteral("1"));

        Start(false);
        QCOMPARE(PointOf(client->window->Mystone[0]), 6);
        QCOMPARE(client->window->Model().PointEmpty(), torvane::kStartEmpty);
        QCOMPARE(server->window->Model().PointEmpty(), torvane::kStartEmpty);
        Play(game(false));
        CheckGameOver(*client, *server);
        for (Player* p : {server.get(), client.get()}) {
            QCOMPARE(p->window->WinNum->text(), QStringLiteral("1"));
            QCOMPARE(p->window->LoseNum->text(), QStringLiteral("1"));
        }
    }

    void resetMidGameKeepsThePlayGoing() {
        server->window->WinNum->setText("5");
        client->window->LoseNum->setText("5");
        Start(true);
        Play({{true, 0, 3}, {false, 0, 3}}, false);
        QTest::mouseClick(client->window->Reset, Qt::LeftButton);
        QTRY_COMPARE(server->window->WinNum->text(), QStringLiteral("0"));
        for (Player* p : {server.get(), client.get()}) {
            QCOMPARE(p->window->WinNum->text(), QStringLiteral("0"));
            QCOMPARE(p->window->LoseNum->text(), QStringLiteral("0"));
        }
        CheckTurn(*server->window, *client->window);
        DragStone(*server, 1, 4);
        QTRY_VERIFY(OwnStonesEnabled(*client->window));
        CheckMirrored(*server->window, *client->window);
    }

    void chatAppearsOnBothScreens() {
        client->window->TSend->setText(QStringLiteral("こんにちは"));
        QTest::keyClick(client->window->TSend, Qt::Key_Return);
        QCOMPARE(client->LastLine(), QStringLiteral("cl>>こんにちは"));
        QVERIFY(client->window->TSend->text().isEmpty());
        QTRY_COMPARE(server->LastLine(), QStringLiteral("cl>>こんにちは"));
        QVERIFY(server->LastLineSelected() && client->LastLineSelected());
        const int lines = server->Lines().size();
        QTest::keyClick(server->window->TSend, Qt::Key_Return);
        QTest::keyClicks(server->window->TSend, "ab");
        QCOMPARE(server->Lines().size(), lines);
        QCOMPARE(server->window->TSend->text(), QStringLiteral("ab"));
        server->window->TSend->setText("   ");
        QTest::keyClick(server->window->TSend, Qt::Key_Return);
        QTRY_COMPARE(client->LastLine(), QStringLiteral("sv>>   "));
    }

    // A plain bar would start a message on the other screen and run it.
    void barInChatIsSentAsFullwidth() {
        client->window->WinNum->setText("3");
        server->session.settings.NickName = "s|v";
        server->window->TSend->setText("a|Reset b");
        QTest::keyClick(server->window->TSend, Qt::Key_Return);
        const QString shown = QStringLiteral("s｜v>>a｜Reset b");
        QCOMPARE(server->LastLine(), shown);
        QTRY_COMPARE(client->LastLine(), shown);
        QTest::qWait(50);
        QCOMPARE(client->window->WinNum->text(), QStringLiteral("3"));
    }

    // Both press at nearly the same moment: the server's start stands.
    void simultaneousStartsResolveToTheServer() {
        QTimer::singleShot(0, client->window.get(),
                           [this] { QTest::mouseClick(client->window->StartGame, Qt::LeftButton); });
        QTest::mouseClick(server->window->StartGame, Qt::LeftButton);
        QTRY_VERIFY(!server->window->StartSequenceRunning() && !client->window->StartSequenceRunning());
        QTest::qWait(50);
        CheckTurn(*server->window, *client->window);
        QCOMPARE(server->Lines().count(kFirst), 1);
        QCOMPARE(client->Lines().count(kSecond), 1);
        QCOMPARE(server->Lines().count(kSecond), 0);
        QCOMPARE(client->Lines().count(kFirst), 0);
        QVERIFY(!server->window->StartGame->isEnabled() && !client->window->StartGame->isEnabled());
    }

    void secondPressDuringTheAnimationIsIgnored() {
        QTimer::singleShot(15, server->window.get(), [this] {
            QVERIFY(server->window->StartSequenceRunning());
            QTest::mouseClick(server->window->StartGame, Qt::LeftButton);
        });
        Start(true);
        QTest::qWait(100);
        QCOMPARE(server->Lines().count(kFirst), 1);
        QCOMPARE(client->Lines().count(kSecond), 1);
        CheckTurn(*server->window, *client->window);
    }

    void closingDuringTheRuleBoxEndsCleanly() {
        Start(true);
        server->prompter.whileOpen = [this] { server->window->close(); };
        DragStone(*server, 0, 0);
        QCOMPARE(server->prompter.shown.size(), 1);
        QCOMPARE(server->window->Winsock->GetState(), Winsock::State::Closed);
        QTRY_COMPARE(client->LastLine(), kDisconnected);
    }
};

QTEST_MAIN(PlayTest)
#include "test_play.moc"
