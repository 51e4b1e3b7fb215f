#include "net/message_connection.h"

#include <algorithm>

#include "net/cp932_codec.h"

namespace torvane {

MessageConnection::MessageConnection(QObject* parent) : QObject(parent), socket_(new torvane::Winsock(this)) {
    window_.setSingleShot(true);
    connect(&window_, &QTimer::timeout, this, &MessageConnection::OnWindowClosed);
    connect(socket_, &Winsock::DataArrival, this, &MessageConnection::OnData);
    connect(socket_, &Winsock::Connected, this, &MessageConnection::StartClean);
}

void MessageConnection::Accept(qint32 requestId) {
    socket_->Accept(requestId);
    StartClean();
}

bool MessageConnection::Send(const QString& message) { return socket_->SendData(EncodeCp932(message)); }

void MessageConnection::StartClean() {
    window_.stop();
    reader_.Reset();
    greeted_ = false;
}

// The window runs from the end of handling a read, so a slow handler does
// not make the next read, already waiting, count as late.
void MessageConnection::OnData() {
    window_.stop();
    Deliver(reader_.Read(socket_->GetData()));
    if (reader_.Waiting()) window_.start(kReadWindowMs);
}

// Bytes already received and not yet read are never late.
void MessageConnection::OnWindowClosed() {
    if (socket_->BytesWaiting() > 0) {
        window_.start(kReadWindowMs);
        return;
    }
    Deliver(reader_.Expire());
}

void MessageConnection::Deliver(const std::vector<Message>& messages) {
    if (messages.empty()) return;
    const auto isName = [](const Message& m) { return m.command == Command::Cnnct || m.command == Command::SName; };
    greeted_ = greeted_ || std::any_of(messages.begin(), messages.end(), isName);
    emit MessagesArrived(messages);
}

}  // namespace torvane
