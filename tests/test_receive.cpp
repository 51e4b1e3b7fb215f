// What a game window does with exact bytes from a bare peer.

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

using Reads = QList<QByteArray>;
Q_DECLARE_METATYPE(Reads)

namespace {

const QString kUnchanged = QStringLiteral("相手");

}  // namespace

class ReceiveTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ServedWindow> served;
    Player* player = nullptr;
    RawPeer* peer = nullptr;
    int linesBefore = 0;

    Main& W() { return *player->window; }
    QStringList NewLines() { return player->Lines().mid(linesBefore); }
    void FeedAll(const Reads& reads) {
        for (const QByteArray& read : reads) peer->Feed(read);
        // An unfinished tag at the end waits for more before it is handled.
        QTest::qWait(kReadWindowMs + 100);
    }

private slots:
    void init() {
        served = std::make_unique<ServedWindow>();
        QVERIFY(served->Open());
        player = &served->player;
        peer = &served->peer;
        QTest::qWait(50);
        W().WinNum->setText("3");
        W().LoseNum->setText("4");
        linesBefore = player->Lines().size();
    }

    void cleanup() { served.reset(); }

    void messages_data() {
        QTest::addColumn<Reads>("reads");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("rival");
        QTest::addColumn<QString>("wins");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("plain text") << Reads{"hello"} << QStringList{"hello"} << kUnchanged << "3" << QByteArray();
        QTest::newRow("plain text hides a command")
            << Reads{"hello|Reset "} << QStringList{"hello|Reset "} << kUnchanged << "3" << QByteArray();
        QTest::newRow("greeting") << Reads{"|Cnnct taro"} << QStringList{} << "taro"
                                  << "3" << QByteArray("|SName sv");
        QTest::newRow("greeting without a name") << Reads{"|Cnnct "} << QStringList{} << ""
                                                 << "3" << QByteArray("|SName sv");
        QTest::newRow("name runs to the end of the read") << Reads{"|SName abc|StrtG "} << QStringList{} << "abc|StrtG "
                                                          << "3" << QByteArray();
        QTest::newRow("empty name reply")
            << Reads{"|SName "} << QStringList{"エラーコード１Ｃ：名前を判別できませんでした"} << kUnchanged << "3"
            << QByteArray();
        QTest::newRow("chat") << Reads{"|Speak abc>>"} << QStringList{"abc>>"} << kUnchanged << "3" << QByteArray();
        QTest::newRow("chat in code page 932")
            << Reads{QByteArray("|Speak \x83\x5e\x83\x8d\x83\x45>>\x81\x99\x81\x40\x87\x40\x81\x60")}
            << QStringList{"タロウ>>☆　①～"} << kUnchanged << "3" << QByteArray();
        QTest::newRow("chat cut at a bar")
            << Reads{"|Speak abc>>x|y"} << QStringList{"abc>>x"} << kUnchanged << "3" << QByteArray();
        QTest::newRow("empty chat then reset")
            << Reads{"|Speak |Reset "} << QStringList{""} << kUnchanged << "0" << QByteArray();
        QTest::newRow("chat without argument")
            << Reads{"|Speak "} << QStringList{"エラーコード０：相手のメッセージを受信できませんでした"} << kUnchanged
            << "3" << QByteArray();
        QTest::newRow("reset") << Reads{"|Reset "} << QStringList{} << kUnchanged << "0" << QByteArray();
        QTest::newRow("reset without its space")
            << Reads{"|Reset"} << QStringList{} << kUnchanged << "0" << QByteArray();
        QTest::newRow("unknown command swallows the rest")
            << Reads{"|Xxxxx |Reset "} << QStringList{} << kUnchanged << "3" << QByteArray();
        QTest::newRow("move without argument") << Reads{"|SetSt "} << QStringList{"エラーコード２：位置情報が不明です"}
                                               << kUnchanged << "3" << QByteArray();
    }

    void messages() {
        QFETCH(Reads, reads);
        QFETCH(QStringList, lines);
        QFETCH(QString, rival);
        QFETCH(QString, wins);
        QFETCH(QByteArray, reply);
        FeedAll(reads);
        QCOMPARE(NewLines(), lines);
        if (!lines.isEmpty()) QVERIFY(player->LastLineSelected());
        QCOMPARE(W().Rival->text(), rival);
        QCOMPARE(W().WinNum->text(), wins);
        QCOMPARE(W().LoseNum->text(), wins == "0" ? QString("0") : QString("4"));
        if (!reply.isEmpty()) QVERIFY(peer->WaitFor(reply.size()));
        QCOMPARE(peer->Take(), reply);
        QVERIFY(OwnStonesDisabled(W()));
    }

    void moves_data() {
        QTest::addColumn<Reads>("reads");
        QTest::addColumn<int>("stone");  // -1: no rival stone moves
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QList<int>>("emptyPoints");
        QTest::addColumn<bool>("turnPasses");
        const QList<int> start = {3, 4, 5};
        QTest::newRow("stone 0 from 6 to 3")
            << Reads{"|SetSt 036"} << 0 << QPoint(225, 132) << QList<int>{2, 3, 4} << true;
        QTest::newRow("target 9 moves nothing") << Reads{"|SetSt 19"} << -1 << QPoint() << start << true;
        QTest::newRow("missing digits read as 0")
            << Reads{"|SetSt 1"} << 1 << QPoint(225, 225) << QList<int>{3, 4, 5, 8} << true;
        QTest::newRow("stone 5 names no stone") << Reads{"|SetSt 536"} << -1 << QPoint() << start << true;
        QTest::newRow("source 9 frees nothing")
            << Reads{"|SetSt 039"} << 0 << QPoint(225, 132) << QList<int>{3, 4} << true;
        QTest::newRow("seventh character skipped") << Reads{"|SetSt086"} << -1 << QPoint() << start << true;
        QTest::newRow("split inside the digits")
            << Reads{"|SetSt 0", "36"} << 0 << QPoint(225, 132) << QList<int>{2, 3, 4} << true;
        QTest::newRow("unfinished move on its own")
            << Reads{"|SetSt 2"} << 2 << QPoint(225, 225) << QList<int>{3, 4, 5, 8} << true;
    }

    void moves() {
        QFETCH(Reads, reads);
        QFETCH(int, stone);
        QFETCH(QPoint, to);
        QFETCH(QList<int>, emptyPoints);
        QFETCH(bool, turnPasses);
        std::array<QPoint, 3> before;
        for (int i = 0; i < 3; ++i) before[i] = W().Yourstone[i]->pos();
        FeedAll(reads);
        for (int i = 0; i < 3; ++i) QCOMPARE(W().Yourstone[i]->pos(), i == stone ? to : before[i]);
        QList<int> empty;
        for (int p = 0; p < 9; ++p) {
            if (player->window->Model().PointEmpty()[p]) empty << p;
        }
        QCOMPARE(empty, emptyPoints);
        QCOMPARE(OwnStonesEnabled(W()), turnPasses);
        QCOMPARE(W().OneSelf->palette().color(QPalette::Window), Main::TurnColor());
        QCOMPARE(W().Rival->palette().color(QPalette::Window), W().ButtonFace());
        QCOMPARE(NewLines(), QStringList());
    }

    void rivalsWinningMove() {
        peer->Feed("|SetSt 103|Finis ");
        QCOMPARE(W().Yourstone[1]->pos(), QPoint(225, 225));
        QCOMPARE(NewLines(), QStringList{kLose});
        QVERIFY(player->LastLineSelected());
        QCOMPARE(W().OneSelf->palette().color(QPalette::Window), W().ButtonFace());
        QCOMPARE(W().Rival->palette().color(QPalette::Window), W().ButtonFace());
        QVERIFY(W().StartP->isVisible());
        QCOMPARE(W().StartP->pos(), geometry::kBannerRect.topLeft());
        QCOMPARE(ImageOf(W().StartP->Picture()), BitmapImage(bitmap::kLose));
        QCOMPARE(W().LoseNum->text(), QStringLiteral("5"));
        QVERIFY(W().StartGame->isEnabled());
        // The game is over here too: the loser moves no more.
        QVERIFY(OwnStonesDisabled(W()));
    }

    void lossCountGoesOnFromTheLeadingNumber_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("number") << "4"
                                << "5";
        QTest::newRow("number then text") << "12 games"
                                          << "13";
        QTest::newRow("text") << "abc"
                              << "1";
        QTest::newRow("empty") << ""
                               << "1";
        QTest::newRow("past 64 bits") << "9223372036854775807"
                                      << "9223372036854775808";
    }

    void lossCountGoesOnFromTheLeadingNumber() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        W().LoseNum->setText(before);
        peer->Feed("|Finis ");
        QCOMPARE(W().LoseNum->text(), after);
    }
};

QTEST_MAIN(ReceiveTest)
#include "test_receive.moc"
