#include "cpu/cpu_peer.h"

namespace torvane {

CpuPeer::CpuPeer(CpuPlayer& player, QTextStream& out, QTextStream& err, PeerTiming timing, QObject* parent)
    : QObject(parent), player_(player), out_(out), err_(err), timing_(timing) {
    for (QTimer* timer : {&wake_, &retry_}) timer->setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, [this] { Apply(player_.OnWake()); });
    connect(&retry_, &QTimer::timeout, this, &CpuPeer::TryConnect);
    Winsock& socket = connection_.Socket();
    connect(&socket, &Winsock::ConnectionRequest, this, &CpuPeer::OnRequest);
    connect(&socket, &Winsock::Connected, this, &CpuPeer::OnConnected);
    connect(&socket, &Winsock::Closed, this, &CpuPeer::OnClosed);
    connect(&socket, &Winsock::Error, this, [this](int, const QString& description) { OnError(description); });
    connect(&connection_, &MessageConnection::MessagesArrived, this, &CpuPeer::Dispatch);
}

bool CpuPeer::Listen(quint16 port, const QHostAddress& address) {
    Winsock& socket = connection_.Socket();
    socket.SetLocalPort(port);
    socket.SetLocalAddress(address);
    socket.Listen();
    if (socket.GetState() != Winsock::State::Listening) {
        err_ << "cannot listen on port " << port << Qt::endl;
        return false;
    }
    out_ << "listening on port " << socket.LocalPort() << Qt::endl;
    return true;
}

quint16 CpuPeer::ListenPort() const { return connection_.Socket().LocalPort(); }

void CpuPeer::Connect(const QString& host, quint16 port) {
    host_ = host;
    port_ = port;
    connection_.Socket().SetRemoteHost(host);
    connection_.Socket().SetRemotePort(port);
    connectClock_.start();
    TryConnect();
}

void CpuPeer::TryConnect() { connection_.Socket().Connect(); }

// One rival only: listening ends with the first.
void CpuPeer::OnRequest(qint32 requestId) {
    connection_.Socket().Close();
    connection_.Accept(requestId);
    connected_ = true;
    out_ << "the rival connected" << Qt::endl;
}

void CpuPeer::OnConnected() {
    connected_ = true;
    out_ << "connected to " << host_ << ":" << port_ << Qt::endl;
    Apply(player_.OnConnected());
}

// Until a connection is made every error is a refused or unreachable server
// that may still come up; after that an error ends the run like a close.
void CpuPeer::OnError(const QString& description) {
    if (connected_) {
        OnClosed();
        return;
    }
    if (!host_.isEmpty() && connectClock_.elapsed() < timing_.connectWindowMs) {
        retry_.start(timing_.retryIntervalMs);
        return;
    }
    err_ << "cannot connect to " << host_ << ": " << description << Qt::endl;
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
