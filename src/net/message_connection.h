#pragma once
// The connection to the rival at the level of messages: listening for the
// rival or connecting to it, the reader that joins what TCP split, and code
// page 932 on the way out. The game window and the computer both talk to
// the rival through this class only; no one outside sees a socket.
//
// A server takes the first client that comes, but only a client that greets
// within kGreetingTimeoutMs is a rival: one that closes before, or stays
// silent (a port scan, a squatter), is let go and the server listens again
// on the same port. A client whose server has not answered its greeting by
// then gives up the connection as timed out.

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "net/message_channel.h"
#include "net/message_reader.h"
#include "net/peer_socket.h"
#include "net/protocol.h"

namespace torvane {

class MessageConnection : public QObject, public MessageChannel {
    Q_OBJECT
public:
    static constexpr int kGreetingTimeoutMs = 10000;

    // `greetingTimeoutMs` is shortened in tests only.
    explicit MessageConnection(QObject* parent = nullptr, int greetingTimeoutMs = kGreetingTimeoutMs);

    // Listens for one rival; false, with `failed` to follow, when the port is
    // not to be had. Port 0 lets the system choose: see listenPort.
    bool listen(quint16 port, const QHostAddress& address = QHostAddress::Any);
    quint16 listenPort() const { return socket_->listenPort(); }
    // Connects to the rival's server; `connected` or `failed` follows.
    void connectTo(const QString& host, quint16 port);
    // Ends listening or the connection; no signal follows.
    void close();

    // Sends one message; false, sending nothing, without a connection.
    bool send(const QString& message) override;
    bool isConnected() const { return socket_->isConnected(); }
    bool isListening() const { return socket_->isListening(); }

    // While paused no more messages arrive; see PeerSocket.
    void pauseReading() override { socket_->pauseReading(); }
    void resumeReading() override { socket_->resumeReading(); }
    // Runs `action` once what has arrived by now is delivered; see PeerSocket.
    void afterWaiting(std::function<void()> action) override { socket_->afterWaiting(std::move(action)); }

signals:
    // Server: a client has connected, and may yet prove to be no rival.
    void clientAccepted();
    // Server: that client went away before greeting; listening again.
    void listeningAgain();
    // Client: connected to the server.
    void connected();
    void messagesArrived(const std::vector<torvane::Message>& messages);
    // The rival closed the connection or stopped answering.
    void closed();
    // Listening or connecting failed, or the connection broke.
    void failed(const torvane::SocketFailure& failure);

private:
    void startClean();
    void onData();
    void onClosed();
    void onFailed(const SocketFailure& failure);
    void onGreetingMissing();
    // Flushes what the rival left unfinished; true when the server lets an
    // ungreeted client go and listens again (or has failed to, which `failed`
    // tells).
    bool end();
    void deliver(const std::vector<Message>& messages);

    PeerSocket* socket_;
    MessageReader reader_;
    QTimer greetingTimer_;
    QHostAddress listenAddress_;
    // A client has been taken as the connection, and not yet let go.
    bool accepted_ = false;
    bool greeted_ = false;
};

}  // namespace torvane
