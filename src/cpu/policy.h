#pragma once
// How the computer picks its step. Both levels draw among equally good steps
// with their own seeded generator, so a seed replays a whole match.

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "cpu/placement.h"
#include "cpu/solution.h"

namespace torvane {

enum class Level { Perfect, Easy };

class Policy {
public:
    virtual ~Policy() = default;
    // No value when the mover has no legal step.
    virtual std::optional<Step> Choose(Placement placement) = 0;
};

// Plays from the solution: the fastest win, else a draw, else the slowest loss.
class PerfectPolicy : public Policy {
public:
    PerfectPolicy(const Solution& solution, std::uint32_t seed) : solution_(solution), random_(seed) {}
    std::optional<Step> Choose(Placement placement) override;

private:
    const Solution& solution_;
    std::mt19937 random_;
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

std::unique_ptr<Policy> MakePolicy(Level level, const Solution& solution, std::uint32_t seed);

// True when the rival, moving next, can fill a line with its first step.
bool GivesWinInOne(Placement placement, Step step);

}  // namespace torvane
