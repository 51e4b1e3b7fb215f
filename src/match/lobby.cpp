#include "match/lobby.h"

#include <utility>

#include "cpu/local_computer.h"
#include "match/match.h"
#include "net/port_mapper.h"

namespace torvane {

namespace {

// The computer serves on this machine only.
const QString kLoopbackHost = QStringLiteral("127.0.0.1");

}  // namespace

Lobby::Lobby(Match& match, int greetingTimeoutMs, QObject* parent)
    : QObject(parent), match_(match), connection_(nullptr, greetingTimeoutMs) {
    connect(&connection_, &MessageConnection::ClientAccepted, this, [this] {
        match_.Open(&connection_, ownName_, true);
        emit ClientAccepted();
    });
    connect(&connection_, &MessageConnection::Connected, this, [this] {
        emit Connected();
        match_.Open(&connection_, ownName_, false);
    });
    connect(&connection_, &MessageConnection::ListeningAgain, this, [this] {
        match_.Close();
        emit ListeningAgain();
    });
    connect(&connection_, &MessageConnection::Closed, this, [this] {
        match_.Close();
        emit Closed();
    });
    connect(&connection_, &MessageConnection::Failed, this, [this](const SocketFailure& failure) {
        match_.Close();
        emit Failed(failure);
    });
    connect(&connection_, &MessageConnection::MessagesArrived, &match_, &Match::Receive);
}

Lobby::~Lobby() { End(); }

bool Lobby::Open(const ConnectionSettings& settings) {
    ownName_ = settings.nickName;
    switch (settings.role) {
    case ConnectionSettings::Role::Server:
        if (!connection_.Listen(settings.port)) return false;
        if (settings.forwardPort) OpenRouterPort(settings.routerTiming);
        return true;
    case ConnectionSettings::Role::Client: connection_.Connect(settings.host, settings.port); return true;
    case ConnectionSettings::Role::Computer: return StartComputer();
    }
    return false;
}

// The computer serves on the loopback address inside this program; the
// window joins it as a client, over a real connection like any rival.
bool Lobby::StartComputer() {
    computer_ = new LocalComputer(this);
    if (!computer_->Start()) {
        delete std::exchange(computer_, nullptr);
        return false;
    }
    connection_.Connect(kLoopbackHost, computer_->Port());
    return true;
}

void Lobby::OpenRouterPort(const PortMapTiming& timing) {
    portMapper_ = new PortMapper(timing, this);
    connect(portMapper_, &PortMapper::Opened, this, &Lobby::RouterAnswered);
    connect(portMapper_, &PortMapper::Lost, this, &Lobby::RouterLost);
    portMapper_->Open(connection_.ListenPort());
}

// The router's mapping lasts only while the game can be reached, and the
// computer only while it has a rival.
void Lobby::End() {
    connection_.Close();
    match_.Close();
    if (portMapper_) portMapper_->Close();
    delete std::exchange(computer_, nullptr);
}

}  // namespace torvane
