#include "net/avahi_poll_adapter.h"

#include <avahi-common/timeval.h>

#include <QSocketNotifier>
#include <algorithm>
#include <limits>
#include <utility>

// The two handle types Avahi leaves to the poll implementation.
struct AvahiWatch {
    AvahiWatch(torvane::AvahiPollAdapter& owner, int fd, AvahiWatchCallback callback, void* userdata)
        : owner(owner),
          fd(fd),
          callback(callback),
          userdata(userdata),
          read(fd, QSocketNotifier::Read),
          write(fd, QSocketNotifier::Write) {}

    torvane::AvahiPollAdapter& owner;
    const int fd;
    const AvahiWatchCallback callback;
    void* const userdata;
    AvahiWatchEvent happened{};
    // A hang-up or an error on the descriptor wakes the read side; the
    // library learns of it when it reads.
    QSocketNotifier read;
    QSocketNotifier write;
};

struct AvahiTimeout {
    AvahiTimeout(torvane::AvahiPollAdapter& owner, AvahiTimeoutCallback callback, void* userdata)
        : owner(owner), callback(callback), userdata(userdata) {}

    torvane::AvahiPollAdapter& owner;
    const AvahiTimeoutCallback callback;
    void* const userdata;
    QTimer timer;
};

namespace torvane {

AvahiPollAdapter::AvahiPollAdapter() {
    api_.userdata = this;
    api_.watch_new = &watchNew;
    api_.watch_update = &watchUpdate;
    api_.watch_get_events = &watchGetEvents;
    api_.watch_free = &watchFree;
    api_.timeout_new = &timeoutNew;
    api_.timeout_update = &timeoutUpdate;
    api_.timeout_free = &timeoutFree;
    purge_.setSingleShot(true);
    purge_.setInterval(0);
    QObject::connect(&purge_, &QTimer::timeout, [this] { purge(); });
}

AvahiPollAdapter::~AvahiPollAdapter() = default;

AvahiPollAdapter& AvahiPollAdapter::of(const AvahiPoll* api) { return *static_cast<AvahiPollAdapter*>(api->userdata); }

AvahiWatch* AvahiPollAdapter::watchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events,
                                       AvahiWatchCallback callback, void* userdata) {
    AvahiPollAdapter& self = of(api);
    AvahiWatch* watch = self.watches_.emplace_back(std::make_unique<AvahiWatch>(self, fd, callback, userdata)).get();
    for (auto [notifier, event] :
         {std::pair{&watch->read, AVAHI_WATCH_IN}, std::pair{&watch->write, AVAHI_WATCH_OUT}}) {
        // The callback may free the watch: nothing touches it afterwards.
        QObject::connect(notifier, &QSocketNotifier::activated, [watch, event = event] {
            watch->happened = event;
            watch->callback(watch, watch->fd, event, watch->userdata);
        });
    }
    watchUpdate(watch, events);
    return watch;
}

void AvahiPollAdapter::watchUpdate(AvahiWatch* watch, AvahiWatchEvent events) {
    watch->read.setEnabled((events & AVAHI_WATCH_IN) != 0);
    watch->write.setEnabled((events & AVAHI_WATCH_OUT) != 0);
}

AvahiWatchEvent AvahiPollAdapter::watchGetEvents(AvahiWatch* watch) { return watch->happened; }

void AvahiPollAdapter::watchFree(AvahiWatch* watch) {
    watchUpdate(watch, AvahiWatchEvent{});
    watch->owner.bury(watch->owner.watches_, watch->owner.freedWatches_, watch);
}

AvahiTimeout* AvahiPollAdapter::timeoutNew(const AvahiPoll* api, const struct timeval* when,
                                           AvahiTimeoutCallback callback, void* userdata) {
    AvahiPollAdapter& self = of(api);
    AvahiTimeout* timeout = self.timeouts_.emplace_back(std::make_unique<AvahiTimeout>(self, callback, userdata)).get();
    timeout->timer.setSingleShot(true);
    timeout->timer.setTimerType(Qt::PreciseTimer);
    // The callback may free the timeout: nothing touches it afterwards.
    QObject::connect(&timeout->timer, &QTimer::timeout, [timeout] { timeout->callback(timeout, timeout->userdata); });
    timeoutUpdate(timeout, when);
    return timeout;
}

// `when` is a moment on the wall clock, or null for never.
void AvahiPollAdapter::timeoutUpdate(AvahiTimeout* timeout, const struct timeval* when) {
    if (!when) {
        timeout->timer.stop();
        return;
    }
    constexpr AvahiUsec kUsecPerMs = 1000;
    const AvahiUsec aheadMs = (-avahi_age(when) + kUsecPerMs - 1) / kUsecPerMs;
    timeout->timer.start(static_cast<int>(std::clamp<AvahiUsec>(aheadMs, 0, std::numeric_limits<int>::max())));
}

void AvahiPollAdapter::timeoutFree(AvahiTimeout* timeout) {
    timeout->timer.stop();
    timeout->owner.bury(timeout->owner.timeouts_, timeout->owner.freedTimeouts_, timeout);
}

template <typename T>
void AvahiPollAdapter::bury(std::vector<std::unique_ptr<T>>& live, std::vector<std::unique_ptr<T>>& freed, T* item) {
    const auto found =
        std::find_if(live.begin(), live.end(), [item](const auto& owned) { return owned.get() == item; });
    freed.push_back(std::move(*found));
    live.erase(found);
    purge_.start();
}

void AvahiPollAdapter::purge() {
    freedWatches_.clear();
    freedTimeouts_.clear();
}

}  // namespace torvane
