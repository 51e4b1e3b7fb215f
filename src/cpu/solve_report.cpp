#include "cpu/solve_report.h"

#include <algorithm>
#include <sstream>

namespace torvane {

namespace {

// Each placement seen by the mover stands for two board positions: the
// same stones with either side to move.
constexpr int kSidesToMove = 2;

}  // namespace

SolutionCounts countValues(const Solution& solution) {
    SolutionCounts counts;
    for (int i = 0; i < solution.size(); ++i) {
        const Value value = solution.valueAt(i);
        const Placement placement = solution.placementAt(i);
        switch (value.outcome) {
        case Outcome::Win:
            ++counts.won;
            counts.longestWin = std::max(counts.longestWin, value.plies);
            break;
        case Outcome::Loss:
            ++counts.lost;
            counts.finished += isFinished(placement) ? 1 : 0;
            counts.longestLoss = std::max(counts.longestLoss, value.plies);
            break;
        case Outcome::Draw:
            ++counts.drawn;
            counts.stuck += legalSteps(placement).empty() ? 1 : 0;
            break;
        }
    }
    return counts;
}

std::string describeValue(Value value) {
    switch (value.outcome) {
    case Outcome::Win: return "win in " + std::to_string(value.plies) + " plies";
    case Outcome::Loss: return "loss in " + std::to_string(value.plies) + " plies";
    case Outcome::Draw: break;
    }
    return "draw (endless play)";
}

std::string solveReport(const Solution& solution) {
    const SolutionCounts c = countValues(solution);
    std::ostringstream out;
    out << "start position, for the player who moves first: " << describeValue(solution.valueOf(startPlacement()))
        << "\n"
        << "positions: " << kSidesToMove * solution.size() << " (" << solution.size()
        << " placements x 2 sides to move; each count below is for the side to move)\n"
        << "  won:   " << kSidesToMove * c.won << " (longest " << c.longestWin << " plies)\n"
        << "  lost:  " << kSidesToMove * c.lost << " (longest " << c.longestLoss << " plies; "
        << kSidesToMove * c.finished << " already over, the rival has just won)\n"
        << "  drawn: " << kSidesToMove * c.drawn << " (" << kSidesToMove * c.stuck << " with no legal step)\n"
        << "seen from the side to move, the placements split " << c.won << " won, " << c.lost << " lost, " << c.drawn
        << " drawn of " << solution.size() << "\n";
    return out.str();
}

}  // namespace torvane
