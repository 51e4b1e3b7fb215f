#include "net/port_mapper.h"

#include <algorithm>
#include <utility>

namespace torvane {

namespace {

using std::chrono::milliseconds;

// Checks never come closer together than this, whatever lease a router
// grants or announcements a device sends.
constexpr milliseconds kShortestWait{1000};
// How soon an announcement brings the next check; a router may announce
// itself before it answers, and does so several times.
constexpr milliseconds kAfterAnnouncement{1000};

bool sameAddress(const MappingResult& a, const MappingResult& b) {
    return a.external == b.external && a.externalPort == b.externalPort;
}

}  // namespace

PortMapper::PortMapper(const PortMapTiming& timing, QObject* parent) : QObject(parent), timing_(timing) {
    next_.setSingleShot(true);
    connect(&next_, &QTimer::timeout, this, &PortMapper::ask);
    connect(&exchange_, &PortMapChild::answered, this, &PortMapper::onAnswer);
    connect(&announcements_, &RouterAnnouncements::heard, this, &PortMapper::onAnnounced);
}

PortMapper::~PortMapper() {
    close();
    removal_.finish();
}

void PortMapper::open(quint16 port) {
    if (state_ != State::Idle) return;
    port_ = port;
    state_ = State::Opening;
    ask();
}

void PortMapper::close() {
    if (state_ == State::Closed) return;
    const bool holding = state_ == State::Held;
    state_ = State::Closed;
    next_.stop();
    exchange_.stop();
    if (holding) removal_.start({PortMapRequest::Kind::Remove, port_, 0, timing_.removal, held_.hold});
}

// Checks the mapping held; else asks for it, the first time or again.
void PortMapper::ask() {
    using Kind = PortMapRequest::Kind;
    const bool held = state_ == State::Held;
    exchange_.start({held ? Kind::Check : Kind::Open, port_, timing_.leaseSeconds, timing_.exchange,
                     held ? held_.hold : QByteArrayList{}});
}

void PortMapper::onAnswer(const PortMapAnswer& answer) {
    const bool mapped = answer.result.outcome == MappingOutcome::Mapped;
    const bool restarted = mapped && epoch_.restarted(answer.result.epoch, RouterEpoch::Clock::now());
    switch (state_) {
    case State::Opening:
        if (mapped) break;
        state_ = State::Idle;
        emit opened(answer.result);
        return;
    case State::Held: return onChecked(answer, restarted);
    case State::Lost:
        if (mapped) break;
        return scheduleNext();
    case State::Idle:
    case State::Closed: return;
    }
    hold(answer);
    emit opened(answer.result);
}

// A router that restarted and took the renewal as a new request, or that
// forwards from another address now, lost what the window shows: both are
// said. One that no longer forwards is asked again at once.
void PortMapper::onChecked(const PortMapAnswer& answer, bool restarted) {
    if (answer.result.outcome != MappingOutcome::Mapped) {
        state_ = State::Lost;
        held_ = {};
        epoch_.forget();
        next_.start(0);
        emit lost();
        return;
    }
    const bool moved = restarted || !sameAddress(answer.result, held_.result);
    hold(answer);
    if (!moved) return;
    emit lost();
    emit opened(answer.result);
}

void PortMapper::hold(const PortMapAnswer& answer) {
    state_ = State::Held;
    held_ = answer;
    announcements_.listen();
    scheduleNext();
}

// Checked at least twice per lease the router granted.
void PortMapper::scheduleNext() {
    milliseconds wait = timing_.check;
    const quint32 lifetime = held_.result.lifetime;
    if (state_ == State::Held && lifetime > 0) wait = std::min(wait, milliseconds(qint64{lifetime} * 1000 / 2));
    if (std::exchange(announced_, false)) wait = std::min(wait, kAfterAnnouncement);
    next_.start(std::max(wait, kShortestWait));
}

void PortMapper::onAnnounced() {
    if (state_ != State::Held && state_ != State::Lost) return;
    if (exchange_.running()) {
        announced_ = true;
    } else if (next_.remainingTimeAsDuration() > kAfterAnnouncement) {
        next_.start(kAfterAnnouncement);
    }
}

}  // namespace torvane
