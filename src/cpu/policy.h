#pragma once
// How the computer picks its step. Every level draws among equally good
// steps with its own seeded generator, so a seed replays a whole match.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "cpu/placement.h"
#include "cpu/solution.h"

namespace torvane {

// Levels run from kEasiestLevel (EasyPolicy) to kPerfectLevel (PerfectPolicy);
// those between play perfectly except for the odd slip.
constexpr int kEasiestLevel = 1;
constexpr int kPerfectLevel = 5;

class Policy {
public:
    virtual ~Policy() = default;
    // No value when the mover has no legal step.
    virtual std::optional<Step> choose(Placement placement) = 0;
    // A game ended; the tally was reset. Only a policy that adapts cares.
    virtual void gameOver(bool /*computerWon*/) {}
    virtual void tallyReset() {}
};

// Plays from the solution: the fastest win, else a draw, else the slowest
// loss. With a chance to slip, it now and then adds a random amount to each
// step's score before taking the best, so it may give up a draw or a win,
// or take a slower win.
class PerfectPolicy : public Policy {
public:
    PerfectPolicy(const Solution& solution, std::uint32_t seed, double slip = 0)
        : solution_(solution), random_(seed), slip_(slip) {}
    std::optional<Step> choose(Placement placement) override;

private:
    const Solution& solution_;
    std::mt19937 random_;
    double slip_;
};

// Looks one move ahead only: takes a win in one when there is one, else a
// random step that leaves the rival no win in one, else any step.
class EasyPolicy : public Policy {
public:
    explicit EasyPolicy(std::uint32_t seed) : random_(seed) {}
    std::optional<Step> choose(Placement placement) override;

private:
    std::mt19937 random_;
};

// `level` from kEasiestLevel to kPerfectLevel.
std::unique_ptr<Policy> makePolicy(int level, const Solution& solution, std::uint32_t seed);

// Plays at a level that follows the player: kAdaptiveStartLevel at first and
// after a tally reset, one level up after each game the player wins and one
// down after each the computer wins, within kEasiestLevel..kPerfectLevel.
class AdaptivePolicy : public Policy {
public:
    static constexpr int kAdaptiveStartLevel = 3;

    AdaptivePolicy(const Solution& solution, std::uint32_t seed);
    std::optional<Step> choose(Placement placement) override {
        return levels_[level_ - kEasiestLevel]->choose(placement);
    }
    void gameOver(bool computerWon) override;
    void tallyReset() override { setLevel(kAdaptiveStartLevel); }
    int level() const { return level_; }
    // Told each new level.
    void onLevelChanged(std::function<void(int level)> observer) { observer_ = std::move(observer); }

private:
    void setLevel(int level);

    std::vector<std::unique_ptr<Policy>> levels_;
    int level_ = kAdaptiveStartLevel;
    std::function<void(int)> observer_;
};

// True when the rival, moving next, can fill a line with its first step.
bool givesWinInOne(Placement placement, Step step);

}  // namespace torvane
