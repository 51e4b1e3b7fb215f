#include "cpu/policy.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace torvane {

namespace {

// Larger is better for the mover: any win beats a draw beats any loss.
constexpr int kDecided = 1000;

// How often levels 2, 3 and 4 slip, tuned so that each scores better than
// the one below against every weaker opponent.
constexpr std::array<double, 3> kSlipChances = {0.4, 0.2, 0.05};
// A slip's largest addition: enough to trade a win for a loss now and then.
constexpr int kSlipBlur = 2 * kDecided;

int score(Value value) {
    switch (value.outcome) {
    case Outcome::Win: return kDecided - value.plies;
    case Outcome::Loss: return value.plies - kDecided;
    case Outcome::Draw: break;
    }
    return 0;
}

std::optional<Step> pickAmong(const std::vector<Step>& steps, std::mt19937& random) {
    if (steps.empty()) return std::nullopt;
    std::uniform_int_distribution<std::size_t> pick(0, steps.size() - 1);
    return steps[pick(random)];
}

template <typename Keep>
std::vector<Step> filtered(const std::vector<Step>& steps, Keep keep) {
    std::vector<Step> kept;
    std::copy_if(steps.begin(), steps.end(), std::back_inserter(kept), keep);
    return kept;
}

}  // namespace

std::optional<Step> PerfectPolicy::choose(Placement placement) {
    const std::vector<Step> steps = legalSteps(placement);
    std::vector<int> scores;
    for (const Step step : steps) scores.push_back(score(valueAfter(solution_, placement, step)));
    if (scores.empty()) return std::nullopt;
    if (slip_ > 0 && std::bernoulli_distribution(slip_)(random_)) {
        std::uniform_int_distribution<int> blur(0, kSlipBlur);
        for (int& score : scores) score += blur(random_);
    }
    const int best = *std::max_element(scores.begin(), scores.end());
    std::vector<Step> bestSteps;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (scores[i] == best) bestSteps.push_back(steps[i]);
    }
    return pickAmong(bestSteps, random_);
}

bool givesWinInOne(Placement placement, Step step) {
    const Placement next = afterStep(placement, step);
    const std::vector<Step> replies = legalSteps(next);
    return std::any_of(replies.begin(), replies.end(), [next](Step reply) { return stepWins(next, reply); });
}

std::optional<Step> EasyPolicy::choose(Placement placement) {
    const std::vector<Step> steps = legalSteps(placement);
    const std::vector<Step> wins = filtered(steps, [placement](Step step) { return stepWins(placement, step); });
    if (!wins.empty()) return pickAmong(wins, random_);
    const std::vector<Step> safe = filtered(steps, [placement](Step step) { return !givesWinInOne(placement, step); });
    return pickAmong(safe.empty() ? steps : safe, random_);
}

AdaptivePolicy::AdaptivePolicy(const Solution& solution, std::uint32_t seed) {
    for (int level = kEasiestLevel; level <= kPerfectLevel; ++level) {
        levels_.push_back(makePolicy(level, solution, seed + static_cast<std::uint32_t>(level)));
    }
}

void AdaptivePolicy::gameOver(bool computerWon) {
    setLevel(std::clamp(level_ + (computerWon ? -1 : 1), kEasiestLevel, kPerfectLevel));
}

void AdaptivePolicy::setLevel(int level) {
    if (level == level_) return;
    level_ = level;
    if (observer_) observer_(level_);
}

std::unique_ptr<Policy> makePolicy(int level, const Solution& solution, std::uint32_t seed) {
    assert(level >= kEasiestLevel && level <= kPerfectLevel);
    if (level == kEasiestLevel) return std::make_unique<EasyPolicy>(seed);
    if (level == kPerfectLevel) return std::make_unique<PerfectPolicy>(solution, seed);
    return std::make_unique<PerfectPolicy>(solution, seed, kSlipChances[level - kEasiestLevel - 1]);
}

}  // namespace torvane
