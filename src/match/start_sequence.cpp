#include "match/start_sequence.h"

#include <utility>

namespace torvane {

StartSequence::StartSequence(int stepMs, QObject* parent) : QObject(parent) {
    timer_.setInterval(stepMs);
    // A coarse timer may fire each step a little early; six of them add up.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StartSequence::Step);
}

void StartSequence::Begin(Kind kind) {
    kind_ = kind;
    step_ = 0;
    due_ = false;
    shown_ = true;
    timer_.start();
    emit Blinked();
}

void StartSequence::Finish() {
    if (!std::exchange(due_, false)) return;
    emit Finished(kind_);
}

void StartSequence::Stop() {
    timer_.stop();
    due_ = false;
    shown_ = false;
}

// Step k hides the banner for odd k and shows it for even k; the last step
// leaves it hidden since the step before.
void StartSequence::Step() {
    ++step_;
    if (step_ < conversation::kStartSteps) {
        shown_ = step_ % 2 == 0;
        emit Blinked();
        return;
    }
    timer_.stop();
    due_ = true;
    emit Due();
}

}  // namespace torvane
