#include "net/winsock.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace torvane {

namespace {

const QString kRefused = QStringLiteral("接続が拒否されました");
const QString kHostNotFound = QStringLiteral("接続先が見つかりません");
const QString kTimedOut = QStringLiteral("接続がタイムアウトしました");
const QString kPortInUse = QStringLiteral("ポート%1は既に使用されています");
const QString kPortDenied = QStringLiteral("ポート%1を使用する権限がありません");
const QString kOtherError = QStringLiteral("通信エラー：");

}  // namespace

Winsock::Winsock(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &Winsock::OnNewConnection);
    connectTimer_.setSingleShot(true);
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        DropConnection();
        state_ = State::Closed;
        ReportLater(QAbstractSocket::SocketTimeoutError, kTimedOut);
    });
}

Winsock::~Winsock() { Close(); }

quint16 Winsock::LocalPort() const { return server_->isListening() ? server_->serverPort() : localPort_; }

void Winsock::Listen() {
    if (!server_->listen(localAddress_, localPort_)) {
        state_ = State::Closed;
        ReportLater(server_->serverError(), Describe(server_->serverError(), server_->errorString()));
        return;
    }
    // Listening again later uses the same port, also when the system chose it.
    localPort_ = server_->serverPort();
    state_ = State::Listening;
}

void Winsock::OnNewConnection() {
    while (server_->hasPendingConnections()) {
        QTcpSocket* socket = server_->nextPendingConnection();
        socket->setParent(this);
        if (state_ != State::Listening || !pending_.empty()) {
            // Only the first request of a listen is ever offered.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const qint32 id = nextRequestId_++;
        pending_[id] = socket;
        emit ConnectionRequest(id);
    }
}

void Winsock::Accept(qint32 requestId) {
    const auto found = pending_.find(requestId);
    QPointer<QTcpSocket> socket = found == pending_.end() ? nullptr : found->second;
    for (auto& [id, other] : pending_) {
        if (other && other != socket) other->deleteLater();
    }
    pending_.clear();
    if (!socket) return;
    DropConnection();
    AttachConnection(socket);
    state_ = State::Connected;
    if (socket->bytesAvailable() > 0) ScheduleDelivery();
}

void Winsock::Connect() {
    DropConnection();
    auto* socket = new QTcpSocket(this);
    AttachConnection(socket);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        connectTimer_.stop();
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        state_ = State::Connected;
        emit Connected();
    });
    state_ = State::Connecting;
    connectTimer_.start(kConnectTimeoutMs);
    socket->connectToHost(remoteHost_, remotePort_);
}

void Winsock::Close() {
    connectTimer_.stop();
    server_->close();
    DropConnection();
    state_ = State::Closed;
}

bool Winsock::SendData(const QByteArray& bytes) {
    if (!IsConnected() || !connection_) return false;
    if (connection_->write(bytes) != bytes.size()) return false;
    connection_->flush();
    return true;
}

QByteArray Winsock::GetData() { return connection_ ? connection_->read(kReadChunkBytes) : QByteArray(); }

qint64 Winsock::BytesWaiting() const { return connection_ ? connection_->bytesAvailable() : 0; }

void Winsock::AttachConnection(QTcpSocket* socket) {
    connection_ = socket;
    socket->setReadBufferSize(kReadChunkBytes);
    // A move and the win that follows it go out at once, not after the
    // acknowledgement of the move.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, &Winsock::ScheduleDelivery);
    connect(socket, &QTcpSocket::errorOccurred, this, &Winsock::OnSocketError);
}

void Winsock::ScheduleDelivery() {
    if (deliveryQueued_) return;
    deliveryQueued_ = true;
    QMetaObject::invokeMethod(this, &Winsock::DeliverData, Qt::QueuedConnection);
}

void Winsock::DeliverData() {
    deliveryQueued_ = false;
    if (!connection_ || connection_->bytesAvailable() <= 0) return;
    emit DataArrival(connection_->bytesAvailable());
    // Whatever one read did not take is delivered next, after the events
    // that queued up meanwhile.
    if (connection_ && connection_->bytesAvailable() > 0) ScheduleDelivery();
}

void Winsock::OnSocketError() {
    if (!connection_) return;
    connectTimer_.stop();
    const auto error = connection_->error();
    const QString text = connection_->errorString();
    state_ = State::Closed;
    if (error == QAbstractSocket::RemoteHostClosedError) {
        // Queued behind any data delivery, so the last bytes are read first.
        QMetaObject::invokeMethod(this, &Winsock::Closed, Qt::QueuedConnection);
        return;
    }
    ReportLater(error, Describe(error, text));
}

void Winsock::ReportLater(int number, const QString& description) {
    QMetaObject::invokeMethod(
        this, [this, number, description] { emit Error(number, description); }, Qt::QueuedConnection);
}

void Winsock::DropConnection() {
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

QString Winsock::Describe(int error, const QString& toolkitText) const {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return kRefused;
    case QAbstractSocket::HostNotFoundError: return kHostNotFound;
    case QAbstractSocket::SocketTimeoutError: return kTimedOut;
    case QAbstractSocket::AddressInUseError: return kPortInUse.arg(localPort_);
    case QAbstractSocket::SocketAccessError: return kPortDenied.arg(localPort_);
    default: return kOtherError + toolkitText;
    }
}

}  // namespace torvane
