#pragma once
// The half-second pauses of the start animation, behind an interface so
// tests can run them faster.

namespace torvane {

class Pause {
public:
    virtual ~Pause() = default;
    // Waits about `ms` milliseconds while the window keeps handling input,
    // repaints and socket events.
    virtual void Wait(int ms) = 0;
};

// Waits in a local event loop for a timer; `divisor` shortens every wait
// (1 for the real program).
class EventLoopPause : public Pause {
public:
    explicit EventLoopPause(int divisor = 1) : divisor_(divisor) {}
    void Wait(int ms) override;

private:
    int divisor_;
};

}  // namespace torvane
