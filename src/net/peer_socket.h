#pragma once
// The program's one TCP connection to the rival: it listens and takes the
// first client that comes, or connects to a server, and passes bytes
// through unchanged. Everything runs on the user-interface thread and every
// outcome arrives as a signal.
//
// Data arrival is delivered from a queued call, never from inside Qt's
// readyRead, and one read holds at most kReadChunkBytes: a flood is taken in
// bounded pieces with the window's own events in between, and memory stays
// bounded however much the peer sends. The end of a connection is told
// after its last byte.

#include <QByteArray>
#include <QHostAddress>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace torvane {

// Why listening or connecting failed, or a connection broke.
struct SocketFailure {
    enum class Kind { Refused, HostNotFound, TimedOut, PortInUse, PortDenied, Other };
    SocketFailure(Kind kind = Kind::Other, quint16 port = 0, QString detail = {})
        : kind(kind), port(port), detail(std::move(detail)) {}
    Kind kind;
    // The port that could not be listened on.
    quint16 port;
    // The system's own words, for Other.
    QString detail;
};

class PeerSocket : public QObject {
    Q_OBJECT
public:
    explicit PeerSocket(QObject* parent = nullptr);
    ~PeerSocket() override;

    // Listens on `port` at `address` (port 0: the system picks; see
    // listenPort). False, with `failed` to follow, when the port is not to be
    // had. The first client becomes the connection and listening ends.
    bool listen(quint16 port, const QHostAddress& address);
    // The port listened on last.
    quint16 listenPort() const { return listenPort_; }
    // Connects to `host`; `connected` or `failed` follows.
    void connectTo(const QString& host, quint16 port);
    // Stops listening or ends the connection; no signal follows.
    void close();

    // False, sending nothing, when no connection is open.
    bool send(const QByteArray& bytes);
    // The bytes received and not yet taken, at most kReadChunkBytes.
    QByteArray read();
    // While paused nothing is read: what the peer sends waits in the
    // system's buffers, and TCP holds the peer back once they are full.
    void pauseReading();
    void resumeReading();
    // Runs `action` once every byte that has arrived by now is delivered
    // (at once when none waits, or while paused), so that a timer's work
    // follows what the peer sent before it fired.
    void afterWaiting(std::function<void()> action);

    bool isConnected() const { return state_ == State::Connected; }
    bool isListening() const { return state_ == State::Listening; }

    // How long a connection attempt may take before it is given up.
    static constexpr int kConnectTimeoutMs = 20000;
    // The most one read takes from the connection.
    static constexpr qint64 kReadChunkBytes = 64 * 1024;

signals:
    // The first client has connected; listening has ended.
    void clientConnected();
    // The connection to the server is made.
    void connected();
    void dataArrived();
    // The peer closed the connection or stopped answering.
    void closed();
    void failed(const torvane::SocketFailure& failure);

private:
    enum class State { Closed, Listening, Connecting, Connected };

    void onNewConnection();
    void attach(QTcpSocket* socket);
    void scheduleDelivery();
    void deliver();
    void onSocketError();
    void failLater(const SocketFailure& failure);
    void dropConnection();
    SocketFailure failureOf(int error, const QString& systemText) const;

    State state_ = State::Closed;
    quint16 listenPort_ = 0;
    QTcpServer* server_ = nullptr;
    QPointer<QTcpSocket> connection_;
    bool deliveryQueued_ = false;
    bool paused_ = false;
    // How the connection ended, told once its last bytes are delivered:
    // closed by the peer, or failed.
    struct Ending {
        bool closed = false;
        SocketFailure failure;
    };
    std::optional<Ending> end_;
    // Actions waiting for the bytes that had arrived when they were asked.
    struct Owed {
        qint64 bytes;
        std::function<void()> action;
    };
    std::vector<Owed> afterWaiting_;
    // Bytes taken by Read during the current delivery.
    qint64 delivered_ = 0;
    void runAfterWaiting(qint64 delivered, bool ended);
    QTimer connectTimer_;
};

}  // namespace torvane

Q_DECLARE_METATYPE(torvane::SocketFailure)
