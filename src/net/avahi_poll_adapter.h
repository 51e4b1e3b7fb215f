#pragma once
// Runs the Avahi client library on Qt's event loop. Avahi asks to watch file
// descriptors and to be called back at given times; this adapter answers with
// QSocketNotifier and QTimer, so it works on whichever event dispatcher Qt
// picked, and nothing ever waits.

#include <avahi-common/watch.h>

#include <QTimer>
#include <memory>
#include <vector>

namespace torvane {

class AvahiPollAdapter {
public:
    AvahiPollAdapter();
    // Frees the watches and timeouts still held: free the client first.
    ~AvahiPollAdapter();
    AvahiPollAdapter(const AvahiPollAdapter&) = delete;
    AvahiPollAdapter& operator=(const AvahiPollAdapter&) = delete;

    // What avahi_client_new takes; valid as long as the adapter.
    const AvahiPoll* Api() const { return &api_; }

private:
    static AvahiPollAdapter& Of(const AvahiPoll* api);
    static AvahiWatch* WatchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events, AvahiWatchCallback callback,
                                void* userdata);
    static void WatchUpdate(AvahiWatch* watch, AvahiWatchEvent events);
    static AvahiWatchEvent WatchGetEvents(AvahiWatch* watch);
    static void WatchFree(AvahiWatch* watch);
    static AvahiTimeout* TimeoutNew(const AvahiPoll* api, const struct timeval* when, AvahiTimeoutCallback callback,
                                    void* userdata);
    static void TimeoutUpdate(AvahiTimeout* timeout, const struct timeval* when);
    static void TimeoutFree(AvahiTimeout* timeout);

    // Avahi may free a watch or timeout from inside its own callback, so a
    // freed one is only switched off here and deleted from the event loop.
    template <typename T>
    void Bury(std::vector<std::unique_ptr<T>>& live, std::vector<std::unique_ptr<T>>& freed, T* item);
    void Purge();

    AvahiPoll api_{};
    std::vector<std::unique_ptr<AvahiWatch>> watches_;
    std::vector<std::unique_ptr<AvahiTimeout>> timeouts_;
    std::vector<std::unique_ptr<AvahiWatch>> freedWatches_;
    std::vector<std::unique_ptr<AvahiTimeout>> freedTimeouts_;
    QTimer purge_;
};

}  // namespace torvane
