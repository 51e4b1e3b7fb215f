#pragma once
// How the computer picks its step. Every level draws among equally good
// steps with its own seeded generator, so a seed replays a whole match.

#include <cstdint>
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
    virtual std::optional<Step> Choose(Placement placement) = 0;
};

// Plays from the solution: the fastest win, else a draw, else the slowest
// loss. With a chance to slip, it now and then adds a random amount to each
// step's score before taking the best, so it may give up a draw or a win,
// or take a slower win.
class PerfectPolicy : public Policy {
public:
    PerfectPolicy(const Solution& solution, std::uint32_t seed, double slip = 0)
        : solution_(solution), random_(seed), slip_(slip) {}
    std::optional<Step> Choose(Placement placement) override;

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
    std::optional<Step> Choose(Placement placement) override;

private:
    std::mt19937 random_;
};

// `level` from kEasiestLevel to kPerfectLevel.
std::unique_ptr<Policy> MakePolicy(int level, const Solution& solution, std::uint32_t seed);

// True when the rival, moving next, can fill a line with its first step.
bool GivesWinInOne(Placement placement, Step step);

}  // namespace torvane
