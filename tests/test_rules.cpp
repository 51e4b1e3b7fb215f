// The board model and the drop zones, checked against the grid's rows and
// columns and against positions written out by hand.

#include <QtTest>

#include "rules/board_model.h"
#include "ui/board_geometry.h"

using namespace torvane;

namespace {

// From a set-up, a stone lifted and aimed at a target: placed or put back,
// and the position then.
using HandMove = std::tuple<const char*, int, int, bool, const char*>;
// From the start, stone, target and source: the fault found, and the position
// once the move is taken unchecked.
using RivalMove = std::tuple<int, int, int, std::optional<MoveFault>, const char*>;
// A stone's corner x and y, the point it is near and the one it is exactly
// on; -1 for none.
using DropAt = std::array<int, 4>;

int row(int p) { return p / 3; }
int col(int p) { return p % 3; }
bool stepApart(int a, int b) { return a != b && std::abs(row(a) - row(b)) <= 1 && std::abs(col(a) - col(b)) <= 1; }

// Three distinct points of the grid in a straight line fill a row, a column
// or a diagonal; all of them but the bottom row win.
bool winsGeometrically(int a, int b, int c) {
    const bool straight = (row(b) - row(a)) * (col(c) - col(a)) == (row(c) - row(a)) * (col(b) - col(a));
    return straight && !(row(a) == 2 && row(b) == 2 && row(c) == 2);
}

// "678 210 xxx...xxx": the points of own stones 0..2, of the rival's, and
// each point taken (x) or free (.).
QString positionOf(const BoardModel& b) {
    QString text = QString("%1%2%3 %4%5%6 ").arg(b.ownStone(0)).arg(b.ownStone(1)).arg(b.ownStone(2));
    text = text.arg(b.rivalStone(0)).arg(b.rivalStone(1)).arg(b.rivalStone(2));
    for (const bool empty : b.pointEmpty()) text += empty ? u'.' : u'x';
    return text;
}

// From the start, own steps ("74": 7 to 4) or one rival move ("r036").
BoardModel after(const QString& setup) {
    BoardModel board;
    const auto digit = [&](qsizetype i) { return PointIndex(setup[i].digitValue()); };
    if (setup.startsWith(u'r')) {
        board.applyRivalMove(digit(1), digit(2), digit(3));
        return board;
    }
    for (qsizetype i = 0; i + 1 < setup.size(); i += 2) board.moveOwn(digit(i), digit(i + 1));
    return board;
}

}  // namespace

Q_DECLARE_METATYPE(HandMove)
Q_DECLARE_METATYPE(RivalMove)
Q_DECLARE_METATYPE(DropAt)

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    // Neighbours lie one grid step apart; the mirror turns the board by half.
    void adjacencyAndMirror() {
        for (int from = -2; from <= 10; ++from) {
            const bool onBoard = from >= 0 && from < 9;
            QCOMPARE(int(mirrorPoint(from)), onBoard ? 3 * (2 - row(from)) + 2 - col(from) : 0);
            for (int to = -2; to <= 10; ++to)
                QCOMPARE(isAdjacent(from, to), onBoard && to >= 0 && to < 9 && stepApart(from, to));
        }
    }

    // One reset in the middle of a game with a stone in hand is a new model
    // but for the turn.
    void resetKeepsOnlyTheTurn() {
        BoardModel board = after("74");
        board.setTurn(Turn::Own);
        board.lift(0);
        board.reset();
        QVERIFY(board.getTurn() == Turn::Own && BoardModel().getTurn() == Turn::None && !board.liftedStone());
        QCOMPARE(positionOf(board), positionOf(BoardModel()));
    }

    // Every ordered set of three distinct points, for the own stones placed by
    // hand and for the rival's, named in its numbering.
    void everyPlacementGetsTheRightVerdict() {
        int placements = 0;
        for (int n = 0; n < 9 * 9 * 9; ++n) {
            const std::array<int, 3> p = {n / 81, n / 9 % 9, n % 9};
            if (p[0] == p[1] || p[1] == p[2] || p[0] == p[2]) continue;
            BoardModel board;
            for (int i = 0; i < kStoneCount; ++i) {
                board.lift(i);
                board.place(PointIndex(p[i]));
                board.applyRivalMove(i, p[i], -1);
            }
            QCOMPARE(board.hasThreeInRow(), winsGeometrically(p[0], p[1], p[2]));
            QCOMPARE(board.rivalHasThreeInRow(), winsGeometrically(p[0], p[1], p[2]));
            ++placements;
        }
        QCOMPARE(placements, 9 * 8 * 7);
    }

    void handMove_data() {
        QTest::addColumn<HandMove>("move");
        QTest::newRow("straight up") << HandMove{"", 1, 4, true, "648 210 xxx.x.x.x"};
        QTest::newRow("diagonal 6 to 4") << HandMove{"", 0, 4, true, "478 210 xxx.x..xx"};
        QTest::newRow("a moved stone again") << HandMove{"74", 1, 3, true, "638 210 xxxx..x.x"};
        QTest::newRow("back on its own point") << HandMove{"", 1, 7, false, "678 210 xxx...xxx"};
        QTest::newRow("onto an own stone") << HandMove{"", 1, 8, false, "678 210 xxx...xxx"};
        QTest::newRow("onto a rival stone") << HandMove{"r036", 2, 5, false, "678 510 xx...xxxx"};
        QTest::newRow("two steps over a gap") << HandMove{"85", 0, 8, false, "675 210 xxx..xxx."};
        QTest::newRow("free but two rows away") << HandMove{"r147", 1, 1, false, "678 240 x.x.x.xxx"};
        QTest::newRow("point 9") << HandMove{"", 1, 9, false, "678 210 xxx...xxx"};
    }

    void handMove() {
        QFETCH(HandMove, move);
        const auto [setup, stone, target, placed, position] = move;
        BoardModel board = after(setup);
        const PointIndex source = board.ownStone(stone);
        board.lift(stone);
        QVERIFY(board.liftedStone() == stone && board.pickedPoint() == source && board.pointEmpty()[source]);
        QCOMPARE(board.canPlace(PointIndex(target)), placed);
        if (placed)
            board.place(PointIndex(target));
        else
            board.putBack();
        QCOMPARE(positionOf(board), position);
        QVERIFY(!board.liftedStone() && board.pickedPoint() == source);
    }

    void rivalMove_data() {
        QTest::addColumn<RivalMove>("move");
        QTest::newRow("legal") << RivalMove{0, 3, 6, {}, "678 510 xx...xxxx"};
        QTest::newRow("wrong source") << RivalMove{0, 3, 5, MoveFault::NotOnSource, "678 510 xxx..xxxx"};
        QTest::newRow("source 9 frees nothing") << RivalMove{0, 3, 9, MoveFault::NotOnSource, "678 510 xxx..xxxx"};
        // One digit only: target and source read as 0; freed after taken.
        QTest::newRow("target and source 0") << RivalMove{1, 0, 0, MoveFault::NotOnSource, "678 280 xxx...xx."};
        QTest::newRow("onto a rival stone") << RivalMove{0, 7, 6, MoveFault::Taken, "678 110 xx....xxx"};
        QTest::newRow("onto its own point") << RivalMove{0, 6, 6, MoveFault::Taken, "678 210 xx....xxx"};
        QTest::newRow("two points away") << RivalMove{0, 5, 6, MoveFault::NotAdjacent, "678 310 xx.x..xxx"};
        QTest::newRow("stone 3") << RivalMove{3, 3, 6, MoveFault::NoSuchStone, "678 210 xxx...xxx"};
        QTest::newRow("target 9") << RivalMove{1, 9, 7, MoveFault::NoSuchTarget, "678 210 xxx...xxx"};
    }

    void rivalMove() {
        QFETCH(RivalMove, move);
        const auto [stone, target, source, fault, position] = move;
        BoardModel board;
        QCOMPARE(board.rivalMoveFault(stone, target, source), fault);
        board.applyRivalMove(stone, target, source);
        QCOMPARE(positionOf(board), position);
    }

    void dropZone_data() {
        QTest::addColumn<DropAt>("drop");
        QTest::newRow("on 7") << DropAt{132, 225, 7, 7};
        QTest::newRow("19 right and below 4") << DropAt{151, 151, 4, -1};
        QTest::newRow("19 left and above 8") << DropAt{206, 206, 8, -1};
        QTest::newRow("20 right of 4") << DropAt{152, 132, -1, -1};
        QTest::newRow("20 below 4") << DropAt{132, 152, -1, -1};
        QTest::newRow("20 left of 2") << DropAt{205, 40, -1, -1};
        QTest::newRow("20 above 6") << DropAt{40, 205, -1, -1};
        QTest::newRow("between 0 and 4") << DropAt{86, 86, -1, -1};
        QTest::newRow("off the board") << DropAt{-300, 500, -1, -1};
    }

    void dropZone() {
        QFETCH(DropAt, drop);
        const auto [x, y, near, at] = drop;
        QCOMPARE(int(geometry::nearPoint({x, y}).value_or(-1)), near);
        QCOMPARE(int(geometry::pointAt({x, y}).value_or(-1)), at);
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "test_rules.moc"
