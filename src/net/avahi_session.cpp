#include "net/avahi_session.h"

namespace torvane {

namespace {

// Without a system bus there is nothing to wait on: ask again this often.
constexpr int kBusRetryMs = 3000;

}  // namespace

AvahiSession::AvahiSession(QObject* parent) : QObject(parent) {
    connect_.setSingleShot(true);
    connect(&connect_, &QTimer::timeout, this, &AvahiSession::Connect);
}

AvahiSession::~AvahiSession() {
    if (client_) avahi_client_free(client_);
}

void AvahiSession::Start() {
    if (!client_ && !connect_.isActive()) connect_.start(0);
}

// With AVAHI_CLIENT_NO_FAIL the client waits for a daemon that is not there
// yet; only a missing system bus makes creation fail.
void AvahiSession::Connect() {
    if (client_) avahi_client_free(client_);
    int error = 0;
    // The state callback may run, and set client_, before this returns.
    client_ = avahi_client_new(poll_.Api(), AVAHI_CLIENT_NO_FAIL, &AvahiSession::OnState, this, &error);
    if (!client_) connect_.start(kBusRetryMs);
}

void AvahiSession::SetRunning(bool running) {
    if (running == running_) return;
    running_ = running;
    if (running) {
        emit Up();
    } else {
        emit Down();
    }
}

void AvahiSession::OnState(AvahiClient* client, AvahiClientState state, void* userdata) {
    auto* self = static_cast<AvahiSession*>(userdata);
    self->client_ = client;
    switch (state) {
    case AVAHI_CLIENT_S_RUNNING: self->SetRunning(true); break;
    case AVAHI_CLIENT_S_REGISTERING:
    case AVAHI_CLIENT_S_COLLISION:
    case AVAHI_CLIENT_CONNECTING: self->SetRunning(false); break;
    case AVAHI_CLIENT_FAILURE:
        // The daemon or the bus went away. The client is freed from the
        // event loop, not inside its own callback, and a new one waits.
        self->SetRunning(false);
        self->connect_.start(0);
        break;
    }
}

}  // namespace torvane
