#include "net/message_connection.h"

#include <algorithm>

#include "net/cp932_codec.h"

namespace torvane {

MessageConnection::MessageConnection(QObject* parent, int greetingTimeoutMs)
    : QObject(parent), socket_(new PeerSocket(this)) {
    greetingTimer_.setSingleShot(true);
    greetingTimer_.setInterval(greetingTimeoutMs);
    connect(&greetingTimer_, &QTimer::timeout, this, &MessageConnection::onGreetingMissing);
    connect(socket_, &PeerSocket::dataArrived, this, &MessageConnection::onData);
    connect(socket_, &PeerSocket::clientConnected, this, [this] {
        accepted_ = true;
        startClean();
        emit clientAccepted();
    });
    connect(socket_, &PeerSocket::connected, this, [this] {
        startClean();
        emit connected();
    });
    connect(socket_, &PeerSocket::closed, this, &MessageConnection::onClosed);
    connect(socket_, &PeerSocket::failed, this, &MessageConnection::onFailed);
}

bool MessageConnection::listen(quint16 port, const QHostAddress& address) {
    close();
    listenAddress_ = address;
    return socket_->listen(port, address);
}

void MessageConnection::connectTo(const QString& host, quint16 port) {
    close();
    socket_->connectTo(host, port);
}

void MessageConnection::close() {
    accepted_ = false;
    greetingTimer_.stop();
    socket_->close();
    reader_.reset();
}

bool MessageConnection::send(const QString& message) { return socket_->send(encodeCp932(message)); }

void MessageConnection::startClean() {
    reader_.reset();
    greeted_ = false;
    greetingTimer_.start();
}

void MessageConnection::onData() { deliver(reader_.read(socket_->read())); }

void MessageConnection::onClosed() {
    if (!end()) emit closed();
}

void MessageConnection::onFailed(const SocketFailure& failure) {
    if (!end()) emit failed(failure);
}

void MessageConnection::onGreetingMissing() {
    if (end()) return;
    close();
    emit failed({SocketFailure::Kind::TimedOut});
}

bool MessageConnection::end() {
    greetingTimer_.stop();
    deliver(reader_.flush());
    if (!accepted_ || greeted_) return false;
    const quint16 port = socket_->listenPort();
    if (!listen(port, listenAddress_)) return true;
    emit listeningAgain();
    return true;
}

void MessageConnection::deliver(const std::vector<Message>& messages) {
    if (messages.empty()) return;
    const auto isName = [](const Message& m) {
        return m.command == Command::Greeting || m.command == Command::NameReply;
    };
    greeted_ = greeted_ || std::any_of(messages.begin(), messages.end(), isName);
    if (greeted_) greetingTimer_.stop();
    emit messagesArrived(messages);
}

}  // namespace torvane
