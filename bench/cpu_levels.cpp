// The computer's levels against each other and against a random mover:
// each pairing plays a fixed number of seeded games from each side, drawn
// as in the game when a position stands for the third time with the same
// side to move. Fails unless every level scores better than the ones below
// it against every opponent, the top level never loses, and against itself
// it draws every game.
#include <cstdio>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "cpu/policy.h"
#include "rules/repetitions.h"

using namespace torvane;

namespace {

constexpr int kGamesPerSide = 1000;
constexpr int kRandomMover = 0;

// Any legal step, uniformly.
class RandomPolicy : public Policy {
public:
    explicit RandomPolicy(std::uint32_t seed) : random_(seed) {}
    std::optional<Step> choose(Placement placement) override {
        const std::vector<Step> steps = legalSteps(placement);
        if (steps.empty()) return std::nullopt;
        return steps[std::uniform_int_distribution<std::size_t>(0, steps.size() - 1)(random_)];
    }

private:
    std::mt19937 random_;
};

std::unique_ptr<Policy> makePlayer(int level, const Solution& solution, std::uint32_t seed) {
    if (level == kRandomMover) return std::make_unique<RandomPolicy>(seed);
    return makePolicy(level, solution, seed);
}

// 0 when the side moving first wins, 1 when the other does, -1 for a draw.
int winner(Policy& first, Policy& second) {
    Placement placement = startPlacement();
    // Each position as its mover sees it, with whose move it is.
    std::map<std::tuple<int, PointMask, PointMask>, int> seen;
    // There are finitely many positions, so a game ends.
    for (int ply = 0;; ++ply) {
        if (++seen[{ply % 2, placement.own, placement.rival}] == Repetitions::kDrawAt) return -1;
        const std::optional<Step> step = (ply % 2 == 0 ? first : second).choose(placement);
        if (!step) return -1;
        if (stepWins(placement, *step)) return ply % 2;
        placement = afterStep(placement, *step);
    }
}

struct Tally {
    int wins = 0;
    int draws = 0;
    int losses = 0;
    double score() const { return (wins + 0.5 * draws) / (wins + draws + losses); }
};

Tally match(int level, int opponent, const Solution& solution) {
    Tally tally;
    for (int game = 0; game < 2 * kGamesPerSide; ++game) {
        const auto seed = static_cast<std::uint32_t>(game);
        const auto player = makePlayer(level, solution, seed);
        const auto rival = makePlayer(opponent, solution, seed + 2 * kGamesPerSide);
        const int side = game % 2;
        const int won = side == 0 ? winner(*player, *rival) : winner(*rival, *player);
        if (won < 0)
            ++tally.draws;
        else
            ++(won == side ? tally.wins : tally.losses);
    }
    return tally;
}

}  // namespace

int main() {
    const Solution solution;
    bool ordered = true;
    std::printf(
        "| level | random | level 1 | level 2 | level 3 | level 4 | level 5 |\n|---|---|---|---|---|---|---|\n");
    std::vector<double> best(kPerfectLevel, -1);  // per opponent, the score of the level below
    for (int level = kEasiestLevel; level <= kPerfectLevel; ++level) {
        std::printf("| %d |", level);
        // The top level against itself too.
        const int last = level == kPerfectLevel ? level : level - 1;
        for (int opponent = kRandomMover; opponent <= last; ++opponent) {
            const Tally tally = match(level, opponent, solution);
            std::printf(" %d/%d/%d %.2f%% |", tally.wins, tally.draws, tally.losses, 100 * tally.score());
            if (opponent == level) {
                ordered = ordered && tally.wins == 0 && tally.losses == 0;
                continue;
            }
            ordered = ordered && tally.score() > best[opponent] && (level < kPerfectLevel || tally.losses == 0);
            best[opponent] = tally.score();
        }
        for (int opponent = last + 1; opponent <= kPerfectLevel; ++opponent) std::printf("  |");
        std::printf("\n");
    }
    std::printf("wins/draws/losses and score of the row's level, %d games from each side\n", kGamesPerSide);
    if (!ordered) std::fprintf(stderr, "a level does not beat the one below it, or the top level lost or won\n");
    return ordered ? 0 : 1;
}
