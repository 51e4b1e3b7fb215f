#include "net/avahi_session.h"

namespace torvane {

namespace {

// Without a system bus there is nothing to wait on: ask again this often.
constexpr int kBusRetryMs = 3000;

}  // namespace

AvahiSession::AvahiSession(QObject* parent) : QObject(parent) {
    connect_.setSingleShot(true);
    connect(&connect_, &QTimer::timeout, this, &AvahiSession::connectToDaemon);
}

AvahiSession::~AvahiSession() {
    if (client_) avahi_client_free(client_);
}

void AvahiSession::start() {
    if (!client_ && !connect_.isActive()) connect_.start(0);
}

// With AVAHI_CLIENT_NO_FAIL the client waits for a daemon that is not there
// yet; only a missing system bus makes creation fail.
void AvahiSession::connectToDaemon() {
    if (client_) avahi_client_free(client_);
    int error = 0;
    // The state callback may run, and set client_, before this returns.
    client_ = avahi_client_new(poll_.api(), AVAHI_CLIENT_NO_FAIL, &AvahiSession::onState, this, &error);
    if (!client_) connect_.start(kBusRetryMs);
}

void AvahiSession::setRunning(bool running) {
    if (running == running_) return;
    running_ = running;
    if (running) {
        emit up();
    } else {
        emit down();
    }
}

void AvahiSession::onState(AvahiClient* client, AvahiClientState state, void* userdata) {
    auto* self = static_cast<AvahiSession*>(userdata);
    self->client_ = client;
    switch (state) {
    case AVAHI_CLIENT_S_RUNNING: self->setRunning(true); break;
    case AVAHI_CLIENT_S_REGISTERING:
    case AVAHI_CLIENT_S_COLLISION:
    case AVAHI_CLIENT_CONNECTING: self->setRunning(false); break;
    case AVAHI_CLIENT_FAILURE:
        // The daemon or the bus went away. The client is freed from the
        // event loop, not inside its own callback, and a new one waits.
        self->setRunning(false);
        self->connect_.start(0);
        break;
    }
}

}  // namespace torvane
