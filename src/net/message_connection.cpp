#include "net/message_connection.h"

#include <algorithm>

#include "net/cp932_codec.h"

namespace torvane {

MessageConnection::MessageConnection(QObject* parent, int greetingTimeoutMs)
    : QObject(parent), socket_(new PeerSocket(this)) {
    greetingTimer_.setSingleShot(true);
    greetingTimer_.setInterval(greetingTimeoutMs);
    connect(&greetingTimer_, &QTimer::timeout, this, &MessageConnection::OnGreetingMissing);
    connect(socket_, &PeerSocket::DataArrived, this, &MessageConnection::OnData);
    connect(socket_, &PeerSocket::ClientConnected, this, [this] {
        accepted_ = true;
        StartClean();
        emit ClientAccepted();
    });
    connect(socket_, &PeerSocket::Connected, this, [this] {
        StartClean();
        emit Connected();
    });
    connect(socket_, &PeerSocket::Closed, this, &MessageConnection::OnClosed);
    connect(socket_, &PeerSocket::Failed, this, &MessageConnection::OnFailed);
}

bool MessageConnection::Listen(quint16 port, const QHostAddress& address) {
    Close();
    listenAddress_ = address;
    return socket_->Listen(port, address);
}

void MessageConnection::Connect(const QString& host, quint16 port) {
    Close();
    socket_->Connect(host, port);
}

void MessageConnection::Close() {
    accepted_ = false;
    greetingTimer_.stop();
    socket_->Close();
    reader_.Reset();
}

bool MessageConnection::Send(const QString& message) { return socket_->Send(EncodeCp932(message)); }

void MessageConnection::StartClean() {
    reader_.Reset();
    greeted_ = false;
    greetingTimer_.start();
}

void MessageConnection::OnData() { Deliver(reader_.Read(socket_->Read())); }

void MessageConnection::OnClosed() {
    if (!End()) emit Closed();
}

void MessageConnection::OnFailed(const SocketFailure& failure) {
    if (!End()) emit Failed(failure);
}

void MessageConnection::OnGreetingMissing() {
    if (End()) return;
    Close();
    emit Failed({SocketFailure::Kind::TimedOut});
}

bool MessageConnection::End() {
    greetingTimer_.stop();
    Deliver(reader_.Flush());
    if (!accepted_ || greeted_) return false;
    const quint16 port = socket_->ListenPort();
    if (!Listen(port, listenAddress_)) return true;
    emit ListeningAgain();
    return true;
}

void MessageConnection::Deliver(const std::vector<Message>& messages) {
    if (messages.empty()) return;
    const auto isName = [](const Message& m) {
        return m.command == Command::Greeting || m.command == Command::NameReply;
    };
    greeted_ = greeted_ || std::any_of(messages.begin(), messages.end(), isName);
    if (greeted_) greetingTimer_.stop();
    emit MessagesArrived(messages);
}

}  // namespace torvane
