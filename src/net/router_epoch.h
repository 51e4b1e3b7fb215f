#pragma once
// NAT-PMP's sign that a router lost its mappings: every answer carries the
// seconds since the router's mapping table began. Between two answers that
// count must grow about as fast as the clock here (7/8 of it, with 2 s to
// spare, as NAT-PMP clients reckon); one that falls behind means the router
// restarted in between.

#include <chrono>
#include <optional>

#include <QtGlobal>

namespace torvane {

class RouterEpoch {
public:
    using Clock = std::chrono::steady_clock;

    // Whether `epoch`, heard at `now`, shows a restart since the one heard
    // before. Remembers it; an answer without one (UPnP) forgets.
    bool restarted(std::optional<quint32> epoch, Clock::time_point now);
    // The mapping is gone anyway: the next epoch starts afresh.
    void forget() { last_.reset(); }

private:
    struct Heard {
        quint32 epoch;
        Clock::time_point at;
    };
    std::optional<Heard> last_;
};

}  // namespace torvane
