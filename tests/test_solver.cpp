// The solved game and the two move policies, checked against the rules
// library by loops of their own.
#include <QtTest>
#include <algorithm>
#include <set>

#include "cpu/policy.h"
#include "cpu/solution.h"
#include "rules/winning_line.h"

using torvane::Outcome;
using torvane::Placement;
using torvane::PointMask;
using torvane::Solution;
using torvane::Step;
using torvane::Value;

namespace {

using Points = std::vector<int>;

PointMask MaskOf(const Points& points) {
    PointMask mask = 0;
    for (const int p : points) mask |= static_cast<PointMask>(1u << p);
    return mask;
}

Points PointsOf(PointMask mask) {
    Points points;
    for (int p = 0; p < torvane::kPointCount; ++p) {
        if (mask & (1u << p)) points.push_back(p);
    }
    return points;
}

Points Mirrored(const Points& points) {
    Points mirrored;
    for (const int p : points) mirrored.push_back(8 - p);
    return mirrored;
}

bool IsLine(const Points& points) {
    return points.size() == 3 && torvane::IsWinningLine({static_cast<torvane::PointIndex>(points[0]),
                                                         static_cast<torvane::PointIndex>(points[1]),
                                                         static_cast<torvane::PointIndex>(points[2])});
}

bool Free(const Placement& placement, int p) { return !((placement.own | placement.rival) & (1u << p)); }

// One step of the mover, with the board that follows in the next mover's view.
struct Successor {
    Step step;
    Placement next;
    bool wins = false;
};

std::vector<Successor> Successors(const Placement& placement) {
    std::vector<Successor> successors;
    for (const int from : PointsOf(placement.own)) {
        for (int to = 0; to < torvane::kPointCount; ++to) {
            if (!Free(placement, to) || !torvane::IsAdjacent(from, to)) continue;
            Points own = PointsOf(placement.own);
            std::replace(own.begin(), own.end(), from, to);
            const Placement next{MaskOf(Mirrored(PointsOf(placement.rival))), MaskOf(Mirrored(own))};
            const Step step{static_cast<torvane::PointIndex>(from), static_cast<torvane::PointIndex>(to)};
            successors.push_back({step, next, IsLine(own)});
        }
    }
    return successors;
}

bool RivalHasJustWon(const Placement& placement) { return IsLine(Mirrored(PointsOf(placement.rival))); }

bool HasWinInOne(const Placement& placement) {
    const auto successors = Successors(placement);
    return std::any_of(successors.begin(), successors.end(), [](const Successor& s) { return s.wins; });
}

const Successor* Find(const std::vector<Successor>& successors, Step step) {
    const auto it =
        std::find_if(successors.begin(), successors.end(), [step](const Successor& s) { return s.step == step; });
    return it == successors.end() ? nullptr : &*it;
}

enum class Kind { Won, Lost, Finished, Drawn };

Kind KindOf(Value value) {
    if (value.outcome == Outcome::Win) return Kind::Won;
    if (value.outcome == Outcome::Draw) return Kind::Drawn;
    return value.plies == 0 ? Kind::Finished : Kind::Lost;
}

// Why the value of `placement` does not follow from its successors' values,
// or an empty string when it does.
QString Inconsistency(const Solution& solution, const Placement& placement, Value value) {
    if ((value == Value{Outcome::Loss, 0}) != RivalHasJustWon(placement)) return "finished-ness differs";
    if (RivalHasJustWon(placement)) return {};
    std::vector<Value> after;
    for (const Successor& s : Successors(placement)) {
        const Value next = solution.ValueOf(s.next);
        if (s.wins && next != Value{Outcome::Loss, 0}) return "a winning step does not finish the game";
        after.push_back(next);
    }
    const auto plies = [&after](Outcome outcome) {
        std::vector<int> found;
        for (const Value v : after) {
            if (v.outcome == outcome) found.push_back(v.plies);
        }
        return found;
    };
    const std::vector<int> lossesAfter = plies(Outcome::Loss);
    const std::vector<int> winsAfter = plies(Outcome::Win);
    switch (value.outcome) {
    case Outcome::Win: {
        if (lossesAfter.empty()) return "won without a step to a lost position";
        const int fastest = 1 + *std::min_element(lossesAfter.begin(), lossesAfter.end());
        return value.plies == fastest ? "" : "not the fastest win";
    }
    case Outcome::Loss: {
        if (winsAfter.size() != after.size()) return "lost with a step to a position not won for the rival";
        const int slowest = 1 + *std::max_element(winsAfter.begin(), winsAfter.end());
        return value.plies == slowest ? "" : "not the slowest loss";
    }
    case Outcome::Draw:
        if (!lossesAfter.empty()) return "drawn with a step to a lost position";
        return winsAfter.size() < after.size() ? "" : "drawn with no step to a draw";
    }
    return "unknown outcome";
}

struct GameEnd {
    int winner = -1;  // 0: the side to move at the start, 1: the other, -1: move cap reached
    int plies = 0;
    bool illegal = false;
};

GameEnd Play(Placement placement, torvane::Policy& first, torvane::Policy& second, int cap) {
    GameEnd end;
    for (; end.plies < cap; ++end.plies) {
        torvane::Policy& mover = end.plies % 2 == 0 ? first : second;
        const std::optional<Step> step = mover.Choose(placement);
        const auto successors = Successors(placement);
        const Successor* chosen = step ? Find(successors, *step) : nullptr;
        if (!chosen) {
            end.illegal = true;
            return end;
        }
        if (chosen->wins) {
            end.winner = end.plies % 2;
            ++end.plies;
            return end;
        }
        placement = chosen->next;
    }
    return end;
}

constexpr int kGames = 200;
constexpr int kMoveCap = 200;

}  // namespace

class TestSolver : public QObject {
    Q_OBJECT
private:
    Solution solution_;

private slots:
    void everyPlacementOnce() {
        QCOMPARE(solution_.Size(), 1680);
        std::set<std::pair<int, int>> seen;
        for (int i = 0; i < solution_.Size(); ++i) {
            const Placement placement = solution_.PlacementAt(i);
            QCOMPARE(solution_.IndexOf(placement), i);
            seen.insert({placement.own, placement.rival});
        }
        QCOMPARE(int(seen.size()), solution_.Size());
        QCOMPARE(solution_.IndexOf({MaskOf({0, 1, 2}), MaskOf({2, 3, 4})}), -1);
    }

    void consistentWithSuccessors_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("won") << int(Kind::Won);
        QTest::newRow("lost") << int(Kind::Lost);
        QTest::newRow("finished") << int(Kind::Finished);
        QTest::newRow("drawn") << int(Kind::Drawn);
    }

    void consistentWithSuccessors() {
        QFETCH(int, kind);
        int checked = 0;
        for (int i = 0; i < solution_.Size(); ++i) {
            const Value value = solution_.ValueAt(i);
            if (int(KindOf(value)) != kind) continue;
            ++checked;
            const Placement placement = solution_.PlacementAt(i);
            const QString fault = Inconsistency(solution_, placement, value);
            QVERIFY2(
                fault.isEmpty(),
                qPrintable(
                    QString("own %1 rival %2: %3").arg(placement.own, 0, 2).arg(placement.rival, 0, 2).arg(fault)));
        }
        QVERIFY(checked > 0);
    }

    // Only a finished game can leave the side to move without a step.
    void noLiveBoardIsStuck() {
        int stuck = 0;
        for (int i = 0; i < solution_.Size(); ++i) {
            const Placement placement = solution_.PlacementAt(i);
            if (!Successors(placement).empty()) continue;
            ++stuck;
            QVERIFY(RivalHasJustWon(placement));
            QCOMPARE(solution_.ValueAt(i), (Value{Outcome::Loss, 0}));
        }
        QCOMPARE(stuck, 4);
    }

    void byHand_data() {
        QTest::addColumn<Points>("own");
        QTest::addColumn<Points>("rival");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("plies");
        // 8 -> 5 fills the middle row.
        QTest::newRow("win in one") << Points{3, 4, 8} << Points{0, 1, 6} << int(Outcome::Win) << 1;
        // The rival, seen from its side, stands on 3, 4, 5.
        QTest::newRow("rival has just won") << Points{0, 2, 6} << Points{3, 4, 5} << int(Outcome::Loss) << 0;
        // Only 1 -> 2 and 3 -> 6 can move; the rival answers 5 -> 1 (its
        // column 7-4-1) or 7 -> 3 (its row 5-4-3).
        QTest::newRow("every step lets the rival win") << Points{0, 1, 3} << Points{4, 5, 7} << int(Outcome::Loss) << 2;
        // The rival's own start row counts for nothing.
        QTest::newRow("rival back home") << Points{3, 4, 8} << Points{0, 1, 2} << int(Outcome::Win) << 1;
    }

    void byHand() {
        QFETCH(Points, own);
        QFETCH(Points, rival);
        QFETCH(int, outcome);
        QFETCH(int, plies);
        QCOMPARE(solution_.ValueOf({MaskOf(own), MaskOf(rival)}), (Value{Outcome(outcome), plies}));
    }

    void perfectNeverLosesToEasy_data() {
        QTest::addColumn<bool>("perfectFirst");
        QTest::newRow("perfect moves first") << true;
        QTest::newRow("easy moves first") << false;
    }

    void perfectNeverLosesToEasy() {
        QFETCH(bool, perfectFirst);
        int perfectWins = 0;
        for (std::uint32_t seed = 1; seed <= kGames; ++seed) {
            torvane::PerfectPolicy perfect(solution_, seed);
            torvane::EasyPolicy easy(seed + kGames);
            const GameEnd end = perfectFirst ? Play(torvane::StartPlacement(), perfect, easy, kMoveCap)
                                             : Play(torvane::StartPlacement(), easy, perfect, kMoveCap);
            QVERIFY(!end.illegal);
            const int perfectSide = perfectFirst ? 0 : 1;
            QVERIFY2(end.winner == -1 || end.winner == perfectSide, qPrintable(QString("seed %1").arg(seed)));
            perfectWins += end.winner == perfectSide ? 1 : 0;
        }
        QVERIFY(perfectWins > 0);
    }

    // Played out by perfect against perfect, every decided position ends
    // exactly as far off and with the winner its value says.
    void perfectPlayKeepsTheValue_data() {
        QTest::addColumn<int>("outcome");
        QTest::newRow("won positions") << int(Outcome::Win);
        QTest::newRow("lost positions") << int(Outcome::Loss);
    }

    void perfectPlayKeepsTheValue() {
        QFETCH(int, outcome);
        torvane::PerfectPolicy first(solution_, 7);
        torvane::PerfectPolicy second(solution_, 8);
        for (int i = 0; i < solution_.Size(); ++i) {
            const Value value = solution_.ValueAt(i);
            if (value.outcome != Outcome(outcome) || value.plies == 0) continue;
            const GameEnd end = Play(solution_.PlacementAt(i), first, second, kMoveCap);
            QCOMPARE(end.plies, value.plies);
            QCOMPARE(end.winner, value.outcome == Outcome::Win ? 0 : 1);
        }
    }

    void perfectDrawsFromTheStart() {
        torvane::PerfectPolicy first(solution_, 1);
        torvane::PerfectPolicy second(solution_, 2);
        QCOMPARE(Play(torvane::StartPlacement(), first, second, kMoveCap).winner, -1);
    }

    void easyTakesEveryWinInOne() {
        int checked = 0;
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            torvane::EasyPolicy easy(seed);
            for (int i = 0; i < solution_.Size(); ++i) {
                const Placement placement = solution_.PlacementAt(i);
                if (RivalHasJustWon(placement) || !HasWinInOne(placement)) continue;
                ++checked;
                const auto successors = Successors(placement);
                const Successor* chosen = Find(successors, *easy.Choose(placement));
                QVERIFY(chosen && chosen->wins);
            }
        }
        QVERIFY(checked > 0);
    }

    void easyLeavesNoWinInOneWhenItCan() {
        int checked = 0;
        torvane::EasyPolicy easy(3);
        for (int i = 0; i < solution_.Size(); ++i) {
            const Placement placement = solution_.PlacementAt(i);
            if (RivalHasJustWon(placement) || HasWinInOne(placement)) continue;
            const auto successors = Successors(placement);
            const auto safe = [](const Successor& s) { return !HasWinInOne(s.next); };
            if (std::none_of(successors.begin(), successors.end(), safe)) continue;
            ++checked;
            const Successor* chosen = Find(successors, *easy.Choose(placement));
            QVERIFY(chosen && safe(*chosen));
        }
        QVERIFY(checked > 0);
    }

    void easyVariesWithTheSeed() {
        std::set<std::pair<int, int>> chosen;
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            const Step step = *torvane::EasyPolicy(seed).Choose(torvane::StartPlacement());
            chosen.insert({step.from, step.to});
        }
        QVERIFY(chosen.size() > 1);
    }
};

QTEST_GUILESS_MAIN(TestSolver)
#include "test_solver.moc"
