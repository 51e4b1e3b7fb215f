// The local player's drop, judged on the real window: what is accepted,
// what is refused, and what goes on the wire.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "support/expected_lines.h"
#include "support/moves.h"
#include "support/probes.h"
#include "support/raw_peer.h"
#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/picture_box.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::testing::line;

class MovesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ServedWindow> served;
    Player* player = nullptr;
    RawPeer* peer = nullptr;

    Main& W() { return *player->window; }

    // A started game in which this window moves first.
    void StartGame() {
        QTest::mouseClick(W().StartGame, Qt::LeftButton);
        QTRY_COMPARE(player->LastLine(), kFirst);
        QVERIFY(peer->WaitFor(7));
        QCOMPARE(peer->Take(), QByteArray("|StrtG "));
    }

private slots:
    void init() {
        served = std::make_unique<ServedWindow>();
        QVERIFY(served->Open());
        player = &served->player;
        peer = &served->peer;
        StartGame();
    }

    void cleanup() { served.reset(); }

    void drops_data() {
        QTest::addColumn<int>("stone");
        QTest::addColumn<int>("target");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QByteArray>("sent");  // empty: refused
        QTest::newRow("straight up") << 1 << 4 << QPoint() << QByteArray("|SetSt 147");
        QTest::newRow("diagonal 6 to 4") << 0 << 4 << QPoint() << QByteArray("|SetSt 046");
        QTest::newRow("straight up from 8") << 2 << 5 << QPoint() << QByteArray("|SetSt 258");
        QTest::newRow("19 right and 19 down snaps") << 1 << 4 << QPoint(19, 19) << QByteArray("|SetSt 147");
        QTest::newRow("19 left and 19 up snaps") << 1 << 3 << QPoint(-19, -19) << QByteArray("|SetSt 137");
        QTest::newRow("20 right") << 1 << 4 << QPoint(20, 0) << QByteArray();
        QTest::newRow("20 down") << 1 << 4 << QPoint(0, 20) << QByteArray();
        QTest::newRow("20 up") << 1 << 4 << QPoint(0, -20) << QByteArray();
        QTest::newRow("onto an own stone") << 1 << 8 << QPoint() << QByteArray();
        QTest::newRow("two steps onto a rival") << 0 << 0 << QPoint() << QByteArray();
        QTest::newRow("two steps, free point ahead") << 1 << 1 << QPoint() << QByteArray();
        QTest::newRow("back onto its own point") << 2 << 8 << QPoint(5, 5) << QByteArray();
        QTest::newRow("off the board") << 2 << 8 << QPoint(150, 60) << QByteArray();
        QTest::newRow("between two points") << 1 << 4 << QPoint(46, 0) << QByteArray();
    }

    void drops() {
        QFETCH(int, stone);
        QFETCH(int, target);
        QFETCH(QPoint, offset);
        QFETCH(QByteArray, sent);
        const auto emptyBefore = player->window->Model().PointEmpty();
        const int from = PointOf(W().Mystone[stone]);
        DragStone(*player, stone, static_cast<PointIndex>(target), offset);
        QTest::qWait(50);
        const auto& empty = player->window->Model().PointEmpty();
        if (sent.isEmpty()) {
            QCOMPARE(player->prompter.shown.size(), 1);
            QCOMPARE(player->prompter.shown[0].kind, QStringLiteral("information"));
            QCOMPARE(player->prompter.shown[0].title, QStringLiteral("ルール違反"));
            QCOMPARE(player->prompter.shown[0].text, QStringLiteral("そこには置けません"));
            QCOMPARE(PointOf(W().Mystone[stone]), from);
            QCOMPARE(empty, emptyBefore);
            QVERIFY(OwnStonesEnabled(W()));
            QCOMPARE(peer->Take(), QByteArray());
            return;
        }
        QVERIFY(player->prompter.shown.isEmpty());
        QCOMPARE(PointOf(W().Mystone[stone]), target);
        QVERIFY(empty[from] && !empty[target]);
        QVERIFY(OwnStonesDisabled(W()));
        QVERIFY(IsGreen(W().Rival) && !IsGreen(W().OneSelf));
        QVERIFY(peer->WaitFor(sent.size()));
        QCOMPARE(peer->Take(), sent);
    }

    // A click without moving is a drop on the stone's own point.
    void plainClickIsRefused() {
        QTest::mouseClick(W().Mystone[1], Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(player->prompter.shown.size(), 1);
        QCOMPARE(PointOf(W().Mystone[1]), 7);
        QVERIFY(!player->window->Model().PointEmpty()[7]);
    }

    // While the box is open the stone stays where it was dropped.
    void refusedStoneWaitsAtTheDropThenGoesHome() {
        QPoint whileOpen;
        player->prompter.whileOpen = [&] { whileOpen = W().Mystone[0]->pos(); };
        DragStone(*player, 0, 0, QPoint(3, 4));
        QCOMPARE(whileOpen, QPoint(43, 44));
        QCOMPARE(W().Mystone[0]->pos(), QPoint(40, 225));
    }

    void ontoARivalStoneIsRefused() {
        DragStone(*player, 0, 3);
        QVERIFY(peer->WaitFor(10));
        peer->Take();
        peer->Feed("|SetSt 147");  // the rival's stone 1 from its 7 to its 4, which is our 4
        QCOMPARE(PointOf(W().Yourstone[1]), 4);
        DragStone(*player, 1, 4);
        QCOMPARE(player->prompter.shown.size(), 1);
        QCOMPARE(PointOf(W().Mystone[1]), 7);
    }

    // Our stones end on the falling diagonal 0, 4, 8; the rival's replies
    // keep clear of it.
    void winningMoveSendsMoveThenFinish() {
        W().WinNum->setText("7");
        DragStone(*player, 1, 4);
        peer->Feed("|SetSt 258");
        DragStone(*player, 1, 0);
        peer->Feed("|SetSt 137");
        QVERIFY(OwnStonesEnabled(W()));
        peer->Take();
        DragStone(*player, 0, 4);
        QVERIFY(peer->WaitFor(17));
        QCOMPARE(peer->Take(), QByteArray("|SetSt 046|Finis "));
        QCOMPARE(player->LastLine(), kWin);
        QVERIFY(player->LastLineSelected());
        QCOMPARE(W().WinNum->text(), QStringLiteral("8"));
        QVERIFY(W().StartP->isVisible());
        QCOMPARE(W().StartP->pos(), geometry::kBannerRect.topLeft());
        QCOMPARE(ImageOf(W().StartP->Picture()), BitmapImage(bitmap::kWin));
        QVERIFY(W().StartGame->isEnabled());
        QVERIFY(OwnStonesDisabled(W()));
        QCOMPARE(W().OneSelf->palette().color(QPalette::Window), W().ButtonFace());
        QCOMPARE(W().Rival->palette().color(QPalette::Window), W().ButtonFace());
    }

    void backOnTheStartRowDoesNotWin() {
        DragStone(*player, 0, 3);
        peer->Feed("|SetSt 236");
        DragStone(*player, 0, 6);
        QVERIFY(peer->WaitFor(20));
        QCOMPARE(peer->Take(), QByteArray("|SetSt 036|SetSt 063"));
        QVERIFY(!player->LastLine().contains(QStringLiteral("勝ち")));
    }

    // With the real half-second steps: shown, hidden, ... for three seconds,
    // and the window keeps handling events in between.
    void startAnimationWithRealPauses() {
        Player real(StartSequence::kStepMs);
        real.Serve("sv");
        RawPeer raw;
        QVERIFY(raw.ConnectTo(real));
        QList<bool> visible;
        for (int ms = 250; ms < 3000; ms += 500) {
            QTimer::singleShot(ms, this, [&] { visible << real.window->StartP->isVisible(); });
        }
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(real.window->StartGame, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!real.window->StartSequenceRunning(), 5000);
        const qint64 took = clock.elapsed();
        QCOMPARE(visible, QList<bool>({true, false, true, false, true, false}));
        QVERIFY2(took >= 2900 && took < 4000, qPrintable(QString::number(took)));
        QVERIFY(real.window->StartP->isHidden());
        QVERIFY(OwnStonesEnabled(*real.window));
    }
};

QTEST_MAIN(MovesTest)
#include "test_moves.moc"
