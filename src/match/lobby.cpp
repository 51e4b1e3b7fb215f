#include "match/lobby.h"

#include <utility>

#include "cpu/local_computer.h"
#include "match/match.h"
#include "net/game_publisher.h"
#include "net/port_mapper.h"

namespace torvane {

namespace {

// The computer serves on this machine only.
const QString kLoopbackHost = QStringLiteral("127.0.0.1");

}  // namespace

Lobby::Lobby(Match& match, int greetingTimeoutMs, QObject* parent)
    : QObject(parent), match_(match), connection_(nullptr, greetingTimeoutMs) {
    connect(&connection_, &MessageConnection::clientAccepted, this, [this] {
        publisher_->withdraw();
        match_.open(&connection_, ownName_, true);
        emit clientAccepted();
    });
    connect(&connection_, &MessageConnection::connected, this, [this] {
        emit connected();
        if (computer_) emit computerLevel(computer_->policy().level());
        match_.open(&connection_, ownName_, false);
    });
    connect(&connection_, &MessageConnection::listeningAgain, this, [this] {
        publisher_->publish(ownName_, connection_.listenPort());
        match_.close();
        emit listeningAgain();
    });
    connect(&connection_, &MessageConnection::closed, this, [this] {
        match_.close();
        emit closed();
    });
    connect(&connection_, &MessageConnection::failed, this, [this](const SocketFailure& failure) {
        match_.close();
        emit failed(failure);
    });
    connect(&connection_, &MessageConnection::messagesArrived, &match_, &Match::receive);
}

Lobby::~Lobby() { end(); }

bool Lobby::open(const ConnectionSettings& settings) {
    ownName_ = settings.nickName;
    switch (settings.role) {
    case ConnectionSettings::Role::Server:
        if (!connection_.listen(settings.port)) return false;
        publisher_ = new GamePublisher(this);
        publisher_->publish(ownName_, connection_.listenPort());
        if (settings.forwardPort) openRouterPort(settings.routerTiming);
        return true;
    case ConnectionSettings::Role::Client: connection_.connectTo(settings.host, settings.port); return true;
    case ConnectionSettings::Role::Computer: return startComputer();
    }
    return false;
}

// The computer serves on the loopback address inside this program; the
// window joins it as a client, over a real connection like any rival.
bool Lobby::startComputer() {
    computer_ = new LocalComputer(this);
    if (!computer_->start()) {
        delete std::exchange(computer_, nullptr);
        return false;
    }
    connect(computer_, &LocalComputer::levelChanged, this, &Lobby::computerLevel);
    connection_.connectTo(kLoopbackHost, computer_->port());
    return true;
}

void Lobby::openRouterPort(const PortMapTiming& timing) {
    portMapper_ = new PortMapper(timing, this);
    connect(portMapper_, &PortMapper::opened, this, &Lobby::routerAnswered);
    connect(portMapper_, &PortMapper::lost, this, &Lobby::routerLost);
    portMapper_->open(connection_.listenPort());
}

// The router's mapping lasts only while the game can be reached, and the
// computer only while it has a rival.
void Lobby::end() {
    connection_.close();
    match_.close();
    if (portMapper_) portMapper_->close();
    portMapper_ = nullptr;
    delete std::exchange(publisher_, nullptr);
    delete std::exchange(computer_, nullptr);
}

}  // namespace torvane
