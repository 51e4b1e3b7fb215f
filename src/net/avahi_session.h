#pragma once
// One connection to the system's Avahi daemon, for as long as the object
// lives. A missing daemon is waited for, and a daemon or system bus that goes
// away is reconnected to, so that the owner only hears when it may publish or
// browse (Up) and when what it made on the client is gone (Down).

#include <avahi-client/client.h>

#include <QObject>
#include <QTimer>

#include "net/avahi_poll_adapter.h"

namespace torvane {

class AvahiSession : public QObject {
    Q_OBJECT
public:
    explicit AvahiSession(QObject* parent = nullptr);
    ~AvahiSession() override;

    // Connects from the event loop, so that starting costs nothing here.
    void start();
    // The client while the daemon serves (between Up and Down), else null.
    AvahiClient* client() const { return running_ ? client_ : nullptr; }

signals:
    // The daemon serves: entry groups and browsers may be made on client().
    void up();
    // What was made on the client no longer works: free it in the slot,
    // and make it anew on the next Up.
    void down();

private:
    void connectToDaemon();
    void setRunning(bool running);
    static void onState(AvahiClient* client, AvahiClientState state, void* userdata);

    AvahiPollAdapter poll_;
    AvahiClient* client_ = nullptr;
    bool running_ = false;
    QTimer connect_;
};

}  // namespace torvane
