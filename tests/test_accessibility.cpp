// The game without a drag and without sight: moves by keys and by clicks,
// the board as a screen reader reads it, and what it hears as things happen.
// The named controls, over AT-SPI: screen_reader_probe.py.

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "support/window_test.h"
#include "ui/announcer.h"
#include "ui/board_geometry.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

const QString kRefused = QStringLiteral("information|ルール違反|そこには置けません");

// What the board's cells are called, written out here on their own.
const QStringList kPoints = {"左上", "上", "右上", "左", "中央", "右", "左下", "下", "右下"};
const QHash<QChar, QString> kOnPoint = {
    {'-', "空き"}, {'R', "相手の石"}, {'O', "あなたの石"}, {'H', "あなたの石（持ち上げ中）"}};

// Nine cells as "RRR---OOO": the rival's stones, free points, own stones and
// the one in hand, row by row.
QStringList cellNames(const QString& code) {
    QStringList names;
    for (int p = 0; p < kPointCount; ++p) names << kPoints[p] + "　" + kOnPoint[code[p]];
    return names;
}

struct Expected {
    QString cells{};      // as cellNames() takes it
    int held = -1;        // the point of the stone in hand
    QByteArray sent{};    // after the start
    QStringList shown{};  // message boxes
    QString announced{};  // the last announcement, unless empty
    QString focused{};    // the cell with the focus, unless empty
    QString turn{};       // the name labels' description, unless empty
};

}  // namespace

Q_DECLARE_METATYPE(Expected)

class AccessibilityTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Player> player;
    std::unique_ptr<RawPeer> peer;

    Player& w() { return *player; }

    // One step as a player takes it. Keys go to the board, whose cursor
    // walks with the arrows, jumps with the keypad's digits and chooses
    // with Enter; "c4" clicks point 4 wherever the mouse would land there;
    // ">bytes" comes from the peer.
    void act(const QString& step) {
        static const QHash<QString, Qt::Key> keys = {
            {"Enter", Qt::Key_Return}, {"Space", Qt::Key_Space}, {"Esc", Qt::Key_Escape}, {"Up", Qt::Key_Up},
            {"Down", Qt::Key_Down},    {"Left", Qt::Key_Left},   {"Right", Qt::Key_Right}};
        if (step == "start") {
            QTest::mouseClick(w().form().startButton, Qt::LeftButton);
            QTRY_COMPARE(w().lastLine(), line::kFirst);
            QVERIFY(peer->waitFor(7));
            QCOMPARE(peer->take(), QByteArray("|StrtG "));
        } else if (step == "focus") {
            w().board().setFocus(Qt::TabFocusReason);
        } else if (step == "leave") {
            peer->close();
            QTRY_COMPARE(w().lines().count(line::kListening), 2);
        } else if (step.startsWith('>')) {
            peer->write(step.mid(1).toUtf8());
            QVERIFY(peer->settle(w()));
        } else if (step.startsWith('c')) {
            const QPoint centre = geometry::stoneRect(PointIndex(step.mid(1).toInt())).center();
            QWidget* under = w().window->childAt(centre);
            QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(w().window.get(), centre));
        } else {
            QTest::keyClick(&w().board(), keys.value(step, Qt::Key(Qt::Key_0 + step.toInt())));
        }
    }

    static void row(const char* name, const QStringList& steps, const Expected& expected) {
        QTest::newRow(name) << steps << expected;
    }

private slots:
    void init() {
        player = std::make_unique<Player>();
        peer = std::make_unique<RawPeer>();
        player->serve("sv");
        QVERIFY(peer->connectTo(*player));
        activate(w());
    }

    void cleanup() {
        peer.reset();
        player.reset();
    }

    void play_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Expected>("expected");
        const QString start = "RRR---OOO";
        const QString first = "ゲーム開始　あなたは先攻です";
        const QByteArray game = "|SetSt 036|SetSt 003|SetSt 147|Finis ";
        const QString won = "中央　あなたの石　あなたの勝ちです";
        row("nothing but a start", {"start"}, {.cells = start, .announced = first, .turn = "あなたの番です"});
        // A whole game, won in three moves, by keys and by clicks alone.
        row("a game by keys",
            {"start", "focus", "1", "Enter", "Up", "Enter", ">|SetSt 248", "Enter", "Up", "Enter", ">|SetSt 254", "2",
             "Enter", "Up", "Enter"},
            {.cells = "ORRRO---O", .sent = game, .announced = won, .focused = "中央　あなたの石"});
        row("a game by clicks", {"start", "c6", "c3", ">|SetSt 248", "c3", "c0", ">|SetSt 254", "c7", "c4"},
            {.cells = "ORRRO---O", .sent = game, .announced = won, .focused = "中央　あなたの石"});
        // Keys.
        row("Enter takes the stone under the cursor", {"start", "focus", "Enter"},
            {.cells = "RRR---OHO",
             .held = 7,
             .announced = "下　あなたの石（持ち上げ中）",
             .focused = "下　あなたの石（持ち上げ中）"});
        row("Space as well, past the right and bottom edges", {"start", "focus", "Right", "Right", "Down", "Space"},
            {.cells = "RRR---OOH", .held = 8, .focused = "右下　あなたの石（持ち上げ中）"});
        row("Escape puts it back", {"start", "focus", "Enter", "Esc"},
            {.cells = start, .announced = "下　あなたの石", .focused = "下　あなたの石"});
        row("Enter on it again too", {"start", "focus", "Enter", "Enter"}, {.cells = start});
        row("another own stone takes its place", {"start", "focus", "Enter", "Right", "Enter"},
            {.cells = "RRR---OOH", .held = 8, .focused = "右下　あなたの石（持ち上げ中）"});
        row("a point out of reach shows the rule", {"start", "focus", "Enter", "Up", "Up", "Enter"},
            {.cells = start, .shown = {kRefused}, .focused = "上　相手の石"});
        row("the cursor stops at the edges", {"start", "focus", "Up", "Up", "Up", "Left", "Left", "Enter"},
            {.cells = start, .announced = "自分の石を選んでください", .focused = "左上　相手の石"});
        row("no stone before a game", {"focus", "Enter"}, {.cells = start, .announced = "ゲームが始まっていません"});
        row("none in the rival's turn", {"start", "focus", "Enter", "Up", "Enter", "Enter"},
            {.cells = "RRR-O-O-O", .sent = "|SetSt 147", .announced = "相手の番です", .turn = "相手の番です"});
        // Clicks.
        row("a click takes a stone", {"start", "c8"}, {.cells = "RRR---OOH", .held = 8});
        row("a second click puts it back", {"start", "c8", "c8"}, {.cells = start});
        row("a click on another own stone swaps", {"start", "c8", "c6"}, {.cells = "RRR---HOO", .held = 6});
        row("a click on a rival stone shows the rule", {"start", "c7", "c1"},
            {.cells = start, .shown = {kRefused}, .focused = "上　相手の石"});
        row("a click on a free point says to take a stone", {"start", "c4"},
            {.cells = start, .announced = "自分の石を選んでください"});
        // What else is heard.
        row("the rival's move", {"start", "focus", "Enter", "Up", "Enter", ">|SetSt 036"},
            {.cells = "RR--ORO-O", .sent = "|SetSt 147", .announced = "相手：右上から右へ"});
        row("a winning move, then the loss", {">|SetSt 036", ">|SetSt 147", ">|SetSt 258|Finis "},
            {.cells = "---RRROOO", .announced = "相手：左上から左へ　あなたの負けです"});
        row("chat lines, the newest three together", {">|Speak r>>1|Speak r>>2|Speak r>>3|Speak r>>4"},
            {.cells = start, .announced = "r>>2　r>>3　r>>4"});
        row("the rival leaving, the server listening again", {"leave"},
            {.cells = start, .announced = "サーバできたよ～ん"});
    }

    void play() {
        QFETCH(QStringList, steps);
        QFETCH(Expected, expected);
        // A player takes a moment between steps, and hears each.
        for (const QString& step : steps) {
            act(step);
            if (QTest::currentTestFailed()) return;
            QCoreApplication::processEvents();
        }
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&w().board());
        if (!expected.announced.isEmpty()) {
            QAccessibleInterface* announcer =
                QAccessible::queryAccessibleInterface(w().window->findChild<Announcer*>());
            QCOMPARE(announcer->role(), QAccessible::Notification);
            QTRY_COMPARE(announcer->text(QAccessible::Name), expected.announced);
        }
        if (!expected.focused.isEmpty()) {
            QVERIFY(table->focusChild() && table->focusChild()->state().focused);
            QCOMPARE(table->focusChild()->text(QAccessible::Name), expected.focused);
        }
        QVERIFY(peer->waitFor(expected.sent.size(), 1000));
        QCOMPARE(peer->take(), expected.sent);
        QCOMPARE(w().prompter.shown, expected.shown);
        const BoardModel& board = w().game().board();
        QCOMPARE(board.liftedStone() ? board.pickedPoint() : -1, expected.held);
        QStringList cells;
        for (int row = 0; row < kRowLength; ++row) {
            for (int column = 0; column < kRowLength; ++column)
                cells << table->tableInterface()->cellAt(row, column)->text(QAccessible::Name);
        }
        QCOMPARE(cells, cellNames(expected.cells));
        if (expected.turn.isEmpty()) return;
        QCOMPARE(w().form().ownName->accessibleDescription(), expected.turn);
        QCOMPARE(w().form().rivalName->accessibleDescription(), expected.turn);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
