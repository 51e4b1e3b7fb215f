#include "net/peer_socket.h"

#include <sys/ioctl.h>
#include <QTcpServer>
#include <QTcpSocket>
#include <utility>

#include "net/keep_alive.h"

namespace torvane {

PeerSocket::PeerSocket(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    qRegisterMetaType<SocketFailure>();
    connect(server_, &QTcpServer::newConnection, this, &PeerSocket::onNewConnection);
    connectTimer_.setSingleShot(true);
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        dropConnection();
        state_ = State::Closed;
        failLater({SocketFailure::Kind::TimedOut});
    });
}

PeerSocket::~PeerSocket() { close(); }

bool PeerSocket::listen(quint16 port, const QHostAddress& address) {
    close();
    listenPort_ = port;
    if (!server_->listen(address, port)) {
        failLater(failureOf(server_->serverError(), server_->errorString()));
        return false;
    }
    // Listening again later uses the same port, also when the system chose it.
    listenPort_ = server_->serverPort();
    state_ = State::Listening;
    return true;
}

// Only the first client of a listen is taken; the others are turned away.
void PeerSocket::onNewConnection() {
    while (server_->hasPendingConnections()) {
        QTcpSocket* socket = server_->nextPendingConnection();
        if (state_ != State::Listening) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        server_->close();
        socket->setParent(this);
        attach(socket);
        keep_alive::enable(int(socket->socketDescriptor()));
        state_ = State::Connected;
        if (socket->bytesAvailable() > 0) scheduleDelivery();
        emit clientConnected();
    }
}

void PeerSocket::connectTo(const QString& host, quint16 port) {
    close();
    auto* socket = new QTcpSocket(this);
    attach(socket);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        connectTimer_.stop();
        keep_alive::enable(int(socket->socketDescriptor()));
        state_ = State::Connected;
        emit connected();
    });
    state_ = State::Connecting;
    connectTimer_.start(kConnectTimeoutMs);
    socket->connectToHost(host, port);
}

void PeerSocket::close() {
    connectTimer_.stop();
    server_->close();
    dropConnection();
    state_ = State::Closed;
    end_.reset();
    paused_ = false;
    // Closed here, the connection has nothing more to deliver to anyone.
    afterWaiting_.clear();
}

bool PeerSocket::send(const QByteArray& bytes) {
    if (!isConnected() || !connection_) return false;
    if (connection_->write(bytes) != bytes.size()) return false;
    connection_->flush();
    return true;
}

QByteArray PeerSocket::read() {
    if (!connection_) return {};
    QByteArray bytes = connection_->read(kReadChunkBytes);
    delivered_ += bytes.size();
    return bytes;
}

void PeerSocket::pauseReading() { paused_ = true; }

void PeerSocket::resumeReading() {
    if (std::exchange(paused_, false)) scheduleDelivery();
}

void PeerSocket::afterWaiting(std::function<void()> action) {
    int unread = 0;
    if (connection_ && ioctl(int(connection_->socketDescriptor()), FIONREAD, &unread) != 0) unread = 0;
    const qint64 owed = connection_ ? connection_->bytesAvailable() + unread : 0;
    if (owed == 0 || paused_) {
        action();
        return;
    }
    afterWaiting_.push_back({owed, std::move(action)});
}

// Each action runs once the bytes it waited for are delivered, or, with
// `ended`, because none will come.
void PeerSocket::runAfterWaiting(qint64 delivered, bool ended) {
    std::vector<std::function<void()>> due;
    for (auto owed = afterWaiting_.begin(); owed != afterWaiting_.end();) {
        owed->bytes -= delivered;
        if (owed->bytes > 0 && !ended) {
            ++owed;
            continue;
        }
        due.push_back(std::move(owed->action));
        owed = afterWaiting_.erase(owed);
    }
    for (const auto& action : due) action();
}

void PeerSocket::attach(QTcpSocket* socket) {
    connection_ = socket;
    socket->setReadBufferSize(kReadChunkBytes);
    // A move and the win that follows it go out at once, not after the
    // acknowledgement of the move.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, &PeerSocket::scheduleDelivery);
    connect(socket, &QTcpSocket::errorOccurred, this, &PeerSocket::onSocketError);
}

void PeerSocket::scheduleDelivery() {
    if (deliveryQueued_ || paused_) return;
    deliveryQueued_ = true;
    QMetaObject::invokeMethod(this, &PeerSocket::deliver, Qt::QueuedConnection);
}

// One read per call; whatever it did not take is delivered next, after the
// events that queued up meanwhile. The end of the connection comes after
// its last byte.
void PeerSocket::deliver() {
    deliveryQueued_ = false;
    if (paused_) return;
    if (connection_ && connection_->bytesAvailable() > 0) {
        delivered_ = 0;
        emit dataArrived();
        runAfterWaiting(delivered_, false);
        scheduleDelivery();
        return;
    }
    if (!end_) return;
    runAfterWaiting(0, true);
    const Ending ending = *std::exchange(end_, std::nullopt);
    if (ending.closed) {
        emit closed();
    } else {
        emit failed(ending.failure);
    }
}

void PeerSocket::onSocketError() {
    if (!connection_) return;
    connectTimer_.stop();
    const auto error = connection_->error();
    const SocketFailure failure = failureOf(error, connection_->errorString());
    const bool wasConnected = isConnected();
    state_ = State::Closed;
    if (!wasConnected) {
        failLater(failure);
        return;
    }
    // A rival that stopped answering is gone as surely as one that closed.
    const bool closed = error == QAbstractSocket::RemoteHostClosedError || error == QAbstractSocket::SocketTimeoutError;
    end_ = Ending{closed, failure};
    scheduleDelivery();
}

void PeerSocket::failLater(const SocketFailure& failure) {
    QMetaObject::invokeMethod(
        this, [this, failure] { emit failed(failure); }, Qt::QueuedConnection);
}

void PeerSocket::dropConnection() {
    if (!connection_) return;
    QTcpSocket* socket = connection_;
    connection_ = nullptr;
    socket->disconnect(this);
    // Let bytes already handed over still go out before the connection ends.
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        socket->deleteLater();
    } else {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

SocketFailure PeerSocket::failureOf(int error, const QString& systemText) const {
    using Kind = SocketFailure::Kind;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return {Kind::Refused};
    case QAbstractSocket::HostNotFoundError: return {Kind::HostNotFound};
    case QAbstractSocket::SocketTimeoutError: return {Kind::TimedOut};
    case QAbstractSocket::AddressInUseError: return {Kind::PortInUse, listenPort_};
    case QAbstractSocket::SocketAccessError: return {Kind::PortDenied, listenPort_};
    default: return {Kind::Other, 0, systemText};
    }
}

}  // namespace torvane
