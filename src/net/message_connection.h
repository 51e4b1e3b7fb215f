#pragma once
// The connection to the rival at the level of messages: the socket, the
// reader with its short window, and code page 932 on the way out. The game
// window and the computer both talk to the rival through this class only.

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "net/message_reader.h"
#include "net/protocol.h"
#include "net/winsock.h"

namespace torvane {

class MessageConnection : public QObject {
    Q_OBJECT
public:
    explicit MessageConnection(QObject* parent = nullptr);

    // Listening, connecting and closing, and their events, stay the socket's.
    torvane::Winsock& Socket() { return *socket_; }
    const torvane::Winsock& Socket() const { return *socket_; }
    // The pending request becomes the connection, read from a clean start.
    void Accept(qint32 requestId);

    // Sends one message; false, sending nothing, without a connection.
    bool Send(const QString& message);
    bool IsConnected() const { return socket_->IsConnected(); }
    // A greeting or the name reply has arrived on this connection.
    bool Greeted() const { return greeted_; }

signals:
    // The messages of one read, or of a kept tail whose window closed.
    void MessagesArrived(const std::vector<torvane::Message>& messages);

private:
    void StartClean();
    void OnData();
    void OnWindowClosed();
    void Deliver(const std::vector<Message>& messages);

    torvane::Winsock* socket_;
    MessageReader reader_;
    QTimer window_;
    bool greeted_ = false;
};

}  // namespace torvane
