// The solved game and the move policies of every level, checked against the rules
// library by loops of their own.
#include <QtTest>
#include <algorithm>
#include <set>

#include "cpu/policy.h"
#include "cpu/solution.h"
#include "rules/winning_line.h"

using namespace torvane;

namespace {

using Points = std::vector<int>;

constexpr Value kFinished{Outcome::Loss, 0};

PointMask MaskOf(const Points& points) {
    PointMask mask = 0;
    for (const int p : points) mask |= static_cast<PointMask>(1u << p);
    return mask;
}

PointMask Mirrored(PointMask mask) {
    PointMask mirrored = 0;
    for (int p = 0; p < kPointCount; ++p) mirrored |= static_cast<PointMask>(((mask >> p) & 1u) << (8 - p));
    return mirrored;
}

bool IsLine(PointMask mask) {
    return std::any_of(kWinningLines.begin(), kWinningLines.end(), [mask](const auto& line) {
        return mask == MaskOf({line[0], line[1], line[2]});
    });
}

bool RivalHasJustWon(const Placement& placement) { return IsLine(Mirrored(placement.rival)); }

// One step of the mover, with the board that follows in the next mover's view.
struct Successor {
    Step step;
    Placement next;
    bool wins = false;
};

std::vector<Successor> Successors(const Placement& placement) {
    std::vector<Successor> successors;
    for (int from = 0; from < kPointCount; ++from) {
        for (int to = 0; to < kPointCount; ++to) {
            const bool free = !((placement.own | placement.rival) & (1u << to));
            if (!(placement.own & (1u << from)) || !free || !IsAdjacent(from, to)) continue;
            const auto own = static_cast<PointMask>((placement.own & ~(1u << from)) | (1u << to));
            const Step step{static_cast<PointIndex>(from), static_cast<PointIndex>(to)};
            successors.push_back({step, {Mirrored(placement.rival), Mirrored(own)}, IsLine(own)});
        }
    }
    return successors;
}

// The successor the policy picks, or none when its step is not legal.
std::optional<Successor> Chosen(Policy& policy, const Placement& placement) {
    const std::optional<Step> step = policy.Choose(placement);
    for (const Successor& s : Successors(placement)) {
        if (step && s.step == *step) return s;
    }
    return std::nullopt;
}

// The mover's value once the rival has `next` to move from.
Value Flipped(Value next) {
    if (next.outcome == Outcome::Draw) return next;
    return {next.outcome == Outcome::Win ? Outcome::Loss : Outcome::Win, next.plies + 1};
}

// Why `value` does not follow from the values of the successors, or an empty
// string when it does: the fastest win, the slowest loss, a draw otherwise.
QString Inconsistency(const Solution& solution, const Placement& placement, Value value) {
    if (RivalHasJustWon(placement) || value == kFinished) {
        return RivalHasJustWon(placement) && value == kFinished ? "" : "finished-ness differs";
    }
    std::optional<int> fastestWin, slowestLoss;
    bool canDraw = false;
    for (const Successor& s : Successors(placement)) {
        const Value next = solution.ValueOf(s.next);
        if (s.wins && next != kFinished) return "a winning step does not finish the game";
        const Value mine = Flipped(next);
        if (mine.outcome == Outcome::Win) fastestWin = std::min(mine.plies, fastestWin.value_or(mine.plies));
        if (mine.outcome == Outcome::Loss) slowestLoss = std::max(mine.plies, slowestLoss.value_or(mine.plies));
        canDraw = canDraw || mine.outcome == Outcome::Draw;
    }
    switch (value.outcome) {
    case Outcome::Win: return value.plies == fastestWin ? "" : "not the fastest win";
    case Outcome::Loss:
        return !fastestWin && !canDraw && value.plies == slowestLoss ? "" : "not a forced, slowest loss";
    case Outcome::Draw: return !fastestWin && canDraw && value.plies == 0 ? "" : "not a draw";
    }
    return "unknown outcome";
}

}  // namespace

Q_DECLARE_METATYPE(torvane::Value)

class TestSolver : public QObject {
    Q_OBJECT
private:
    Solution solution_;

private slots:
    void everyValueFollowsFromItsSuccessors() {
        QCOMPARE(solution_.Size(), 1680);
        for (int i = 0; i < solution_.Size(); ++i) {
            const Placement placement = solution_.PlacementAt(i);
            QCOMPARE(solution_.IndexOf(placement), i);
            const QString fault = Inconsistency(solution_, placement, solution_.ValueAt(i));
            QVERIFY2(fault.isEmpty(), qPrintable(QString("placement %1: %2").arg(i).arg(fault)));
        }
        QCOMPARE(solution_.IndexOf({MaskOf({0, 1, 2}), MaskOf({2, 3, 4})}), -1);
    }

    void byHand_data() {
        QTest::addColumn<Points>("own");
        QTest::addColumn<Points>("rival");
        QTest::addColumn<Value>("value");
        QTest::newRow("start") << Points{6, 7, 8} << Points{0, 1, 2} << Value{Outcome::Draw, 0};
        // 8 -> 5 fills the middle row; the rival's own start row counts for nothing.
        QTest::newRow("win in one") << Points{3, 4, 8} << Points{0, 1, 2} << Value{Outcome::Win, 1};
        // The rival, seen from its side, stands on 3, 4, 5.
        QTest::newRow("rival has just won") << Points{0, 2, 6} << Points{3, 4, 5} << kFinished;
        // Only 1 -> 2 and 3 -> 6 can move; the rival answers 5 -> 1 (its
        // column 7-4-1) or 7 -> 3 (its row 5-4-3).
        QTest::newRow("every step lets the rival win") << Points{0, 1, 3} << Points{4, 5, 7} << Value{Outcome::Loss, 2};
    }

    void byHand() {
        QFETCH(Points, own);
        QFETCH(Points, rival);
        QFETCH(Value, value);
        QCOMPARE(solution_.ValueOf({MaskOf(own), MaskOf(rival)}), value);
    }

    void everyPolicyStep_data() {
        QTest::addColumn<int>("level");
        for (int level = kEasiestLevel; level <= kPerfectLevel; ++level)
            QTest::newRow(qPrintable(QString("level %1").arg(level))) << level;
    }

    // Every level steps legally and its seed changes its choice. The perfect
    // level keeps the value: the fastest win, a draw, the slowest loss (so
    // it never loses from the drawn start). The easiest takes a win in one,
    // else leaves the rival none if it can.
    void everyPolicyStep() {
        QFETCH(int, level);
        const auto hasWinInOne = [](const Placement& p) {
            const auto successors = Successors(p);
            return std::any_of(successors.begin(), successors.end(), [](const Successor& s) { return s.wins; });
        };
        std::set<std::pair<int, int>> starts;
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            const auto policy = MakePolicy(level, solution_, seed);
            for (int i = 0; i < solution_.Size(); ++i) {
                const Placement placement = solution_.PlacementAt(i);
                if (RivalHasJustWon(placement)) continue;
                const std::optional<Successor> chosen = Chosen(*policy, placement);
                QVERIFY2(chosen, qPrintable(QString("placement %1").arg(i)));
                if (placement == StartPlacement()) starts.insert({chosen->step.from, chosen->step.to});
                if (level == kPerfectLevel) QCOMPARE(Flipped(solution_.ValueOf(chosen->next)), solution_.ValueAt(i));
                if (level != kEasiestLevel) continue;
                const auto successors = Successors(placement);
                const bool canBeSafe = std::any_of(successors.begin(), successors.end(),
                                                   [&](const Successor& s) { return !hasWinInOne(s.next); });
                if (hasWinInOne(placement))
                    QVERIFY(chosen->wins);
                else if (canBeSafe)
                    QVERIFY(!hasWinInOne(chosen->next));
            }
        }
        QVERIFY(starts.size() > 1);
    }
};

QTEST_GUILESS_MAIN(TestSolver)
#include "test_solver.moc"
