#include "cpu/cpu_peer.h"

namespace torvane {

namespace {

QString FailureName(const SocketFailure& failure) {
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
    connect(&wake_, &QTimer::timeout, this, &CpuPeer::OnWake);
    connect(&retry_, &QTimer::timeout, this, &CpuPeer::TryConnect);
    connect(&connection_, &MessageConnection::ClientAccepted, this, [this] {
        connected_ = true;
        out_ << "the rival connected" << Qt::endl;
    });
    connect(&connection_, &MessageConnection::ListeningAgain, this, [this] {
        connected_ = false;
        out_ << "that was no rival; listening again" << Qt::endl;
    });
    connect(&connection_, &MessageConnection::Connected, this, &CpuPeer::OnConnected);
    connect(&connection_, &MessageConnection::Closed, this, &CpuPeer::OnClosed);
    connect(&connection_, &MessageConnection::Failed, this, &CpuPeer::OnFailed);
    connect(&connection_, &MessageConnection::MessagesArrived, this, &CpuPeer::Dispatch);
}

bool CpuPeer::Listen(quint16 port, const QHostAddress& address) {
    if (!connection_.Listen(port, address)) {
        err_ << "cannot listen on port " << port << Qt::endl;
        return false;
    }
    out_ << "listening on port " << connection_.ListenPort() << Qt::endl;
    return true;
}

quint16 CpuPeer::ListenPort() const { return connection_.ListenPort(); }

void CpuPeer::Connect(const QString& host, quint16 port) {
    host_ = host;
    port_ = port;
    connectClock_.start();
    TryConnect();
}

void CpuPeer::TryConnect() { connection_.Connect(host_, port_); }

// What the rival sent before the timer fired comes first: a start of its
// own that is already here cancels the one the timer would make. What it
// sent may also have set the timer anew; then the timer is not yet due.
void CpuPeer::OnWake() {
    connection_.AfterWaiting([this] {
        if (!wake_.isActive()) Apply(player_.OnWake());
    });
}

void CpuPeer::OnConnected() {
    connected_ = true;
    out_ << "connected to " << host_ << ":" << port_ << Qt::endl;
    Apply(player_.OnConnected());
}

// Until a connection is made every failure is a refused or unreachable
// server that may still come up; after that a failure ends the run like a
// close.
void CpuPeer::OnFailed(const SocketFailure& failure) {
    if (connected_) {
        OnClosed();
        return;
    }
    if (!host_.isEmpty() && connectClock_.elapsed() < timing_.connectWindowMs) {
        retry_.start(timing_.retryIntervalMs);
        return;
    }
    err_ << "cannot connect to " << host_ << ": " << FailureName(failure) << Qt::endl;
    emit Finished(1);
}

void CpuPeer::OnClosed() {
    wake_.stop();
    out_ << "the connection closed; wins " << player_.Wins() << ", losses " << player_.Losses() << Qt::endl;
    emit Finished(0);
}

// More of a chat line or a name changes nothing for the computer.
void CpuPeer::Dispatch(const std::vector<Message>& messages) {
    for (const Message& message : messages) {
        if (!message.continued) Apply(player_.OnMessage(message));
    }
}

void CpuPeer::Apply(const Reply& reply) {
    for (const QString& message : reply.send) connection_.Send(message);
    for (const QString& note : reply.notes) out_ << note << Qt::endl;
    for (const QString& warning : reply.warnings) err_ << warning << Qt::endl;
    if (reply.wakeAfterMs) wake_.start(*reply.wakeAfterMs);
}

}  // namespace torvane
