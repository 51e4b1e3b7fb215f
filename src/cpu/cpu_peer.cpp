#include "cpu/cpu_peer.h"

namespace torvane {

namespace {

QString failureName(const SocketFailure& failure) {
    switch (failure.kind) {
    case SocketFailure::Kind::Refused: return QStringLiteral("connection refused");
    case SocketFailure::Kind::HostNotFound: return QStringLiteral("host not found");
    case SocketFailure::Kind::TimedOut: return QStringLiteral("timed out");
    case SocketFailure::Kind::PortInUse: return QStringLiteral("port in use");
    case SocketFailure::Kind::PortDenied: return QStringLiteral("port not allowed");
    case SocketFailure::Kind::Other: break;
    }
    return failure.detail;
}

}  // namespace

CpuPeer::CpuPeer(CpuPlayer& player, QTextStream& out, QTextStream& err, PeerTiming timing, QObject* parent)
    : QObject(parent), player_(player), out_(out), err_(err), timing_(timing) {
    for (QTimer* timer : {&wake_, &retry_}) timer->setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, &CpuPeer::onWake);
    connect(&retry_, &QTimer::timeout, this, &CpuPeer::tryConnect);
    connect(&connection_, &MessageConnection::clientAccepted, this, [this] {
        connected_ = true;
        out_ << "the rival connected" << Qt::endl;
    });
    connect(&connection_, &MessageConnection::listeningAgain, this, [this] {
        connected_ = false;
        out_ << "that was no rival; listening again" << Qt::endl;
    });
    connect(&connection_, &MessageConnection::connected, this, &CpuPeer::onConnected);
    connect(&connection_, &MessageConnection::closed, this, &CpuPeer::onClosed);
    connect(&connection_, &MessageConnection::failed, this, &CpuPeer::onFailed);
    connect(&connection_, &MessageConnection::messagesArrived, this, &CpuPeer::dispatch);
}

bool CpuPeer::listen(quint16 port, const QHostAddress& address) {
    if (!connection_.listen(port, address)) {
        err_ << "cannot listen on port " << port << Qt::endl;
        return false;
    }
    out_ << "listening on port " << connection_.listenPort() << Qt::endl;
    return true;
}

quint16 CpuPeer::listenPort() const { return connection_.listenPort(); }

void CpuPeer::connectTo(const QString& host, quint16 port) {
    host_ = host;
    port_ = port;
    connectClock_.start();
    tryConnect();
}

void CpuPeer::tryConnect() { connection_.connectTo(host_, port_); }

// What the rival sent before the timer fired comes first: a start of its
// own that is already here cancels the one the timer would make. What it
// sent may also have set the timer anew; then the timer is not yet due.
void CpuPeer::onWake() {
    connection_.afterWaiting([this] {
        if (!wake_.isActive()) apply(player_.onWake());
    });
}

void CpuPeer::onConnected() {
    connected_ = true;
    out_ << "connected to " << host_ << ":" << port_ << Qt::endl;
    apply(player_.onConnected());
}

// Until a connection is made every failure is a refused or unreachable
// server that may still come up; after that a failure ends the run like a
// close.
void CpuPeer::onFailed(const SocketFailure& failure) {
    if (connected_) {
        onClosed();
        return;
    }
    if (!host_.isEmpty() && connectClock_.elapsed() < timing_.connectWindowMs) {
        retry_.start(timing_.retryIntervalMs);
        return;
    }
    err_ << "cannot connect to " << host_ << ": " << failureName(failure) << Qt::endl;
    emit finished(1);
}

void CpuPeer::onClosed() {
    wake_.stop();
    out_ << "the connection closed; wins " << player_.wins() << ", losses " << player_.losses() << Qt::endl;
    emit finished(0);
}

// More of a chat line or a name changes nothing for the computer.
void CpuPeer::dispatch(const std::vector<Message>& messages) {
    for (const Message& message : messages) {
        if (!message.continued) apply(player_.onMessage(message));
    }
}

void CpuPeer::apply(const Reply& reply) {
    for (const QString& message : reply.send) connection_.send(message);
    for (const QString& note : reply.notes) out_ << note << Qt::endl;
    for (const QString& warning : reply.warnings) err_ << warning << Qt::endl;
    if (reply.wakeAfterMs) wake_.start(*reply.wakeAfterMs);
}

}  // namespace torvane
