#include "match/start_sequence.h"

#include <utility>

namespace torvane {

StartSequence::StartSequence(int stepMs, QObject* parent) : QObject(parent) {
    timer_.setInterval(stepMs);
    // A coarse timer may fire each step a little early; six of them add up.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StartSequence::step);
}

void StartSequence::begin(Kind kind) {
    kind_ = kind;
    step_ = 0;
    due_ = false;
    shown_ = true;
    timer_.start();
    emit blinked();
}

void StartSequence::finish() {
    if (!std::exchange(due_, false)) return;
    emit finished(kind_);
}

void StartSequence::stop() {
    timer_.stop();
    due_ = false;
    shown_ = false;
}

// Step k hides the banner for odd k and shows it for even k; the last step
// leaves it hidden since the step before.
void StartSequence::step() {
    ++step_;
    if (step_ < conversation::kStartSteps) {
        shown_ = step_ % 2 == 0;
        emit blinked();
        return;
    }
    timer_.stop();
    due_ = true;
    emit due();
}

}  // namespace torvane
