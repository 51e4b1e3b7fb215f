// The board rules, checked against computations made here from the rows and
// columns of the points, not from the program's tables.

#include <QtTest>
#include <algorithm>

#include "rules/board.h"
#include "rules/drop.h"
#include "rules/winning_line.h"

using namespace torvane;

namespace {

int Row(int p) { return p / 3; }
int Col(int p) { return p % 3; }

bool StepApart(int a, int b) {
    return a != b && std::abs(Row(a) - Row(b)) <= 1 && std::abs(Col(a) - Col(b)) <= 1;
}

// Three distinct points on one straight line of the grid, other than the
// bottom row.
bool WinsGeometrically(int a, int b, int c) {
    const bool row = Row(a) == Row(b) && Row(b) == Row(c) && Row(a) != 2;
    const bool col = Col(a) == Col(b) && Col(b) == Col(c);
    const auto onFalling = [](int p) { return Row(p) == Col(p); };
    const auto onRising = [](int p) { return Row(p) + Col(p) == 2; };
    return row || col || (onFalling(a) && onFalling(b) && onFalling(c)) ||
           (onRising(a) && onRising(b) && onRising(c));
}

PixelPos Corner(int p) { return {kPointCoord[Col(p)], kPointCoord[Row(p)]}; }

}  // namespace

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    void adjacencyMatchesGridSteps() {
        for (int from = -2; from <= 10; ++from) {
            for (int to = -2; to <= 10; ++to) {
                const bool onBoard = from >= 0 && from < 9 && to >= 0 && to < 9;
                QCOMPARE(IsAdjacent(from, to), onBoard && StepApart(from, to));
            }
        }
    }

    void neighbourCountsPerPoint() {
        const std::array<int, 9> expected = {3, 5, 3, 5, 8, 5, 3, 5, 3};
        for (int p = 0; p < 9; ++p) {
            int count = 0;
            for (int q = 0; q < 9; ++q) count += IsAdjacent(p, q) ? 1 : 0;
            QCOMPARE(count, expected[p]);
        }
    }

    void mirrorTurnsTheBoardByHalf() {
        for (int p = 0; p < 9; ++p) {
            const int m = MirrorPoint(p);
            QCOMPARE(Row(m), 2 - Row(p));
            QCOMPARE(Col(m), 2 - Col(p));
            QCOMPARE(int(MirrorPoint(m)), p);
        }
        for (int outside : {-1, 9, 100, -32768}) QCOMPARE(int(MirrorPoint(outside)), 0);
    }

    void startPositionsMirrorEachOther() {
        for (int i = 0; i < kStoneCount; ++i) {
            QCOMPARE(MirrorPoint(MyStartPoint(i)), YourStartPoint(i));
            QCOMPARE(kStartEmpty[MyStartPoint(i)], false);
            QCOMPARE(kStartEmpty[YourStartPoint(i)], false);
        }
        QCOMPARE(std::count(kStartEmpty.begin(), kStartEmpty.end(), true), 3);
    }

    void pointTableHoldsTheExactCoordinates() {
        for (int p = 0; p < 9; ++p) {
            QCOMPARE(PointPos(p), Corner(p));
            QCOMPARE(PointAt(Corner(p)), std::optional<PointIndex>(p));
            QCOMPARE(PointAt({Corner(p).x + 1, Corner(p).y}), std::nullopt);
        }
    }

    // Every set of three distinct points (84) in every order (6).
    void everyPlacementGetsTheRightVerdict() {
        int placements = 0;
        int wins = 0;
        for (int a = 0; a < 9; ++a) {
            for (int b = a + 1; b < 9; ++b) {
                for (int c = b + 1; c < 9; ++c) {
                    std::array<int, 3> points = {a, b, c};
                    const bool expected = WinsGeometrically(a, b, c);
                    wins += expected ? 1 : 0;
                    do {
                        const std::array<PixelPos, 3> stones = {Corner(points[0]), Corner(points[1]),
                                                                Corner(points[2])};
                        QCOMPARE(HasThreeInRow(stones), expected);
                        ++placements;
                    } while (std::next_permutation(points.begin(), points.end()));
                }
            }
        }
        QCOMPARE(placements, 84 * 6);
        QCOMPARE(wins, 7);
    }

    void bottomRowNeverWins() {
        std::array<int, 3> points = {6, 7, 8};
        do {
            QVERIFY(!HasThreeInRow({Corner(points[0]), Corner(points[1]), Corner(points[2])}));
        } while (std::next_permutation(points.begin(), points.end()));
    }

    void stoneOffItsPointWinsNothing() {
        QVERIFY(!HasThreeInRow({Corner(0), Corner(1), PixelPos{226, 40}}));
    }

    void dropDecision_data() {
        QTest::addColumn<int>("picked");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("aimedAt");
        QTest::addColumn<int>("alsoFree");  // -1: none
        QTest::addColumn<int>("expected");  // -1: refused
        QTest::newRow("straight up, exact") << 7 << 0 << 0 << 4 << -1 << 4;
        QTest::newRow("diagonal 6 to 4") << 6 << 0 << 0 << 4 << -1 << 4;
        QTest::newRow("19 right and 19 down") << 7 << 19 << 19 << 4 << -1 << 4;
        QTest::newRow("19 left and 19 up") << 7 << -19 << -19 << 4 << -1 << 4;
        QTest::newRow("20 right") << 7 << 20 << 0 << 4 << -1 << -1;
        QTest::newRow("20 down") << 7 << 0 << 20 << 4 << -1 << -1;
        QTest::newRow("20 left") << 7 << -20 << 0 << 4 << -1 << -1;
        QTest::newRow("back on its own point") << 7 << 0 << 0 << 7 << -1 << -1;
        QTest::newRow("onto an own stone") << 7 << 0 << 0 << 8 << -1 << -1;
        QTest::newRow("onto a rival stone") << 3 << 0 << 0 << 0 << -1 << -1;
        QTest::newRow("two steps, 6 to 0") << 6 << 0 << 0 << 0 << -1 << -1;
        QTest::newRow("two steps, 6 to 8 over a gap") << 6 << 0 << 0 << 8 << 8 << -1;
        QTest::newRow("free but two rows away") << 7 << 0 << 0 << 1 << 1 << -1;
    }

    void dropDecision() {
        QFETCH(int, picked);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, aimedAt);
        QFETCH(int, alsoFree);
        QFETCH(int, expected);
        // The start position with the lifted stone's point free.
        std::array<bool, kPointCount> empty = kStartEmpty;
        empty[picked] = true;
        if (alsoFree >= 0) empty[alsoFree] = true;
        const PixelPos aim = Corner(aimedAt);
        const auto target = DropTarget(static_cast<PointIndex>(picked), {aim.x + dx, aim.y + dy}, empty);
        QCOMPARE(target ? int(*target) : -1, expected);
    }

    void dropOffTheBoardIsRefused() {
        std::array<bool, kPointCount> empty = kStartEmpty;
        empty[7] = true;
        for (PixelPos pos : {PixelPos{-300, 500}, PixelPos{380, 100}, PixelPos{85, 180}}) {
            QCOMPARE(DropTarget(7, pos, empty), std::nullopt);
        }
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "test_rules.moc"
