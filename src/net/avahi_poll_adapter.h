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
    const AvahiPoll* api() const { return &api_; }

private:
    static AvahiPollAdapter& of(const AvahiPoll* api);
    static AvahiWatch* watchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events, AvahiWatchCallback callback,
                                void* userdata);
    static void watchUpdate(AvahiWatch* watch, AvahiWatchEvent events);
    static AvahiWatchEvent watchGetEvents(AvahiWatch* watch);
    static void watchFree(AvahiWatch* watch);
    static AvahiTimeout* timeoutNew(const AvahiPoll* api, const struct timeval* when, AvahiTimeoutCallback callback,
                                    void* userdata);
    static void timeoutUpdate(AvahiTimeout* timeout, const struct timeval* when);
    static void timeoutFree(AvahiTimeout* timeout);

    // Avahi may free a watch or timeout from inside its own callback, so a
    // freed one is only switched off here and deleted from the event loop.
    template <typename T>
    void bury(std::vector<std::unique_ptr<T>>& live, std::vector<std::unique_ptr<T>>& freed, T* item);
    void purge();

    AvahiPoll api_{};
    std::vector<std::unique_ptr<AvahiWatch>> watches_;
    std::vector<std::unique_ptr<AvahiTimeout>> timeouts_;
    std::vector<std::unique_ptr<AvahiWatch>> freedWatches_;
    std::vector<std::unique_ptr<AvahiTimeout>> freedTimeouts_;
    QTimer purge_;
};

}  // namespace torvane
