#include "ui/start_sequence.h"

#include <utility>

namespace torvane {

StartSequence::StartSequence(QWidget* banner, int stepMs, QObject* parent) : QObject(parent), banner_(banner) {
    timer_.setInterval(stepMs);
    // A coarse timer may fire each step a little early; six of them add up.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StartSequence::Step);
}

void StartSequence::Begin(Kind kind) {
    kind_ = kind;
    step_ = 0;
    due_ = false;
    if (banner_) banner_->show();
    timer_.start();
}

void StartSequence::Finish() {
    if (!std::exchange(due_, false)) return;
    emit Finished(kind_);
}

void StartSequence::Stop() {
    timer_.stop();
    due_ = false;
}

// Step k hides the banner for odd k and shows it for even k; the last step
// leaves it hidden since the step before.
void StartSequence::Step() {
    ++step_;
    if (step_ < kSteps) {
        if (banner_) banner_->setVisible(step_ % 2 == 0);
        return;
    }
    timer_.stop();
    due_ = true;
    emit Due();
}

}  // namespace torvane
