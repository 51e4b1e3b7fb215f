#include "net/peer_socket.h"

#include <sys/ioctl.h>
#include <QTcpServer>
#include <QTcpSocket>
#include <utility>

#include "net/keep_alive.h"

namespace torvane {

PeerSocket::PeerSocket(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    qRegisterMetaType<SocketFailure>();
    connect(server_, &QTcpServer::newConnection, this, &PeerSocket::OnNewConnection);
    connectTimer_.setSingleShot(true);
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        DropConnection();
        state_ = State::Closed;
        FailLater({SocketFailure::Kind::TimedOut});
    });
}

PeerSocket::~PeerSocket() { Close(); }

bool PeerSocket::Listen(quint16 port, const QHostAddress& address) {
    Close();
    listenPort_ = port;
    if (!server_->listen(address, port)) {
        FailLater(FailureOf(server_->serverError(), server_->errorString()));
        return false;
    }
    // Listening again later uses the same port, also when the system chose it.
    listenPort_ = server_->serverPort();
    state_ = State::Listening;
    return true;
}

// Only the first client of a listen is taken; the others are turned away.
void PeerSocket::OnNewConnection() {
    while (server_->hasPendingConnections()) {
        QTcpSocket* socket = server_->nextPendingConnection();
        if (state_ != State::Listening) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        server_->close();
        socket->setParent(this);
        Attach(socket);
        keep_alive::Enable(int(socket->socketDescriptor()));
        state_ = State::Connected;
        if (socket->bytesAvailable() > 0) ScheduleDelivery();
        emit ClientConnected();
    }
}

void PeerSocket::Connect(const QString& host, quint16 port) {
    Close();
    auto* socket = new QTcpSocket(this);
    Attach(socket);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        connectTimer_.stop();
        keep_alive::Enable(int(socket->socketDescriptor()));
        state_ = State::Connected;
        emit Connected();
    });
    state_ = State::Connecting;
    connectTimer_.start(kConnectTimeoutMs);
    socket->connectToHost(host, port);
}

void PeerSocket::Close() {
    connectTimer_.stop();
    server_->close();
    DropConnection();
    state_ = State::Closed;
    end_.reset();
    paused_ = false;
    // Closed here, the connection has nothing more to deliver to anyone.
    afterWaiting_.clear();
}

bool PeerSocket::Send(const QByteArray& bytes) {
    if (!IsConnected() || !connection_) return false;
    if (connection_->write(bytes) != bytes.size()) return false;
    connection_->flush();
    return true;
}

QByteArray PeerSocket::Read() {
    if (!connection_) return {};
    QByteArray bytes = connection_->read(kReadChunkBytes);
    delivered_ += bytes.size();
    return bytes;
}

void PeerSocket::PauseReading() { paused_ = true; }

void PeerSocket::ResumeReading() {
    if (std::exchange(paused_, false)) ScheduleDelivery();
}

void PeerSocket::AfterWaiting(std::function<void()> action) {
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
void PeerSocket::RunAfterWaiting(qint64 delivered, bool ended) {
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

void PeerSocket::Attach(QTcpSocket* socket) {
    connection_ = socket;
    socket->setReadBufferSize(kReadChunkBytes);
    // A move and the win that follows it go out at once, not after the
    // acknowledgement of the move.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, &PeerSocket::ScheduleDelivery);
    connect(socket, &QTcpSocket::errorOccurred, this, &PeerSocket::OnSocketError);
}

void PeerSocket::ScheduleDelivery() {
    if (deliveryQueued_ || paused_) return;
    deliveryQueued_ = true;
    QMetaObject::invokeMethod(this, &PeerSocket::Deliver, Qt::QueuedConnection);
}

// One read per call; whatever it did not take is delivered next, after the
// events that queued up meanwhile. The end of the connection comes after
// its last byte.
void PeerSocket::Deliver() {
    deliveryQueued_ = false;
    if (paused_) return;
    if (connection_ && connection_->bytesAvailable() > 0) {
        delivered_ = 0;
        emit DataArrived();
        RunAfterWaiting(delivered_, false);
        ScheduleDelivery();
        return;
    }
    if (!end_) return;
    RunAfterWaiting(0, true);
    const Ending ending = *std::exchange(end_, std::nullopt);
    if (ending.closed) {
        emit Closed();
    } else {
        emit Failed(ending.failure);
    }
}

void PeerSocket::OnSocketError() {
    if (!connection_) return;
    connectTimer_.stop();
    const auto error = connection_->error();
    const SocketFailure failure = FailureOf(error, connection_->errorString());
    const bool wasConnected = IsConnected();
    state_ = State::Closed;
    if (!wasConnected) {
        FailLater(failure);
        return;
    }
    // A rival that stopped answering is gone as surely as one that closed.
    const bool closed = error == QAbstractSocket::RemoteHostClosedError || error == QAbstractSocket::SocketTimeoutError;
    end_ = Ending{closed, failure};
    ScheduleDelivery();
}

void PeerSocket::FailLater(const SocketFailure& failure) {
    QMetaObject::invokeMethod(
        this, [this, failure] { emit Failed(failure); }, Qt::QueuedConnection);
}

void PeerSocket::DropConnection() {
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

SocketFailure PeerSocket::FailureOf(int error, const QString& systemText) const {
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
