#include "cpu/cpu_peer.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace torvane {

CpuPeer::CpuPeer(CpuPlayer& player, QTextStream& out, QTextStream& err, PeerTiming timing, QObject* parent)
    : QObject(parent), player_(player), out_(out), err_(err), timing_(timing) {
    for (QTimer* timer : {&wake_, &tail_, &retry_}) timer->setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, [this] { Apply(player_.OnWake()); });
    connect(&tail_, &QTimer::timeout, this, &CpuPeer::OnTailTimeout);
    connect(&retry_, &QTimer::timeout, this, &CpuPeer::TryConnect);
}

bool CpuPeer::Listen(quint16 port) {
    server_ = new QTcpServer(this);
    connect(server_, &QTcpServer::newConnection, this, &CpuPeer::OnNewConnection);
    if (!server_->listen(QHostAddress::Any, port)) {
        err_ << "cannot listen on port " << port << ": " << server_->errorString() << Qt::endl;
        return false;
    }
    out_ << "listening on port " << server_->serverPort() << Qt::endl;
    return true;
}

quint16 CpuPeer::ListenPort() const { return server_ ? server_->serverPort() : 0; }

void CpuPeer::Connect(const QString& host, quint16 port) {
    host_ = host;
    port_ = port;
    connectClock_.start();
    TryConnect();
}

void CpuPeer::TryConnect() {
    auto* socket = new QTcpSocket(this);
    connect(socket, &QTcpSocket::connected, this, [this] {
        connected_ = true;
        out_ << "connected to " << host_ << ":" << port_ << Qt::endl;
        Apply(player_.OnConnected());
    });
    connect(socket, &QTcpSocket::errorOccurred, this, &CpuPeer::OnConnectError);
    Attach(socket);
    socket->connectToHost(host_, port_);
}

// Until a connection is made every error is a refused or unreachable server
// that may still come up; after that the disconnect ends the run.
void CpuPeer::OnConnectError() {
    if (connected_ || !socket_) return;
    const QString reason = socket_->errorString();
    socket_->disconnect(this);
    socket_->deleteLater();
    socket_.clear();
    if (connectClock_.elapsed() < timing_.connectWindowMs) {
        retry_.start(timing_.retryIntervalMs);
        return;
    }
    err_ << "cannot connect to " << host_ << ":" << port_ << ": " << reason << Qt::endl;
    emit Finished(1);
}

void CpuPeer::OnNewConnection() {
    QTcpSocket* socket = server_->nextPendingConnection();
    if (!socket || socket_) return;
    server_->close();  // one rival only
    out_ << "the rival connected from " << socket->peerAddress().toString() << Qt::endl;
    Attach(socket);
    connected_ = true;
}

void CpuPeer::Attach(QTcpSocket* socket) {
    socket_ = socket;
    reader_.Reset();
    connect(socket, &QTcpSocket::readyRead, this, &CpuPeer::OnReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &CpuPeer::OnDisconnected);
}

void CpuPeer::OnReadyRead() {
    tail_.stop();
    const std::vector<Message> messages = reader_.Read(socket_->readAll());
    if (reader_.HasTail()) tail_.start(timing_.tailWaitMs);
    Dispatch(messages);
}

// The rest of an unfinished tag never came: handle it as it stands.
void CpuPeer::OnTailTimeout() { Dispatch(reader_.Flush()); }

void CpuPeer::Dispatch(const std::vector<Message>& messages) {
    for (const Message& message : messages) Apply(player_.OnMessage(message));
}

void CpuPeer::OnDisconnected() {
    if (!connected_) return;
    wake_.stop();
    out_ << "the connection closed; wins " << player_.Wins() << ", losses " << player_.Losses() << Qt::endl;
    emit Finished(0);
}

void CpuPeer::Apply(const Reply& reply) {
    for (const QString& message : reply.send) {
        if (socket_) socket_->write(EncodeCp932(message));
    }
    for (const QString& note : reply.notes) out_ << note << Qt::endl;
    for (const QString& warning : reply.warnings) err_ << warning << Qt::endl;
    if (reply.wakeAfterMs) wake_.start(*reply.wakeAfterMs);
}

}  // namespace torvane
