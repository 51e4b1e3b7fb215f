#pragma once
// The program's one TCP socket: it listens, accepts one client or connects to
// a server, and passes bytes through unchanged. Everything runs on the
// user-interface thread and every outcome arrives as a signal.
//
// Data arrival is delivered from a queued call, never from inside Qt's
// readyRead, and one read holds at most kReadChunkBytes: a flood is taken in
// bounded pieces with the window's own events in between, and memory stays
// bounded however much the peer sends.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <map>

class QTcpServer;
class QTcpSocket;

namespace torvane {

class Winsock : public QObject {
    Q_OBJECT
public:
    enum class State { Closed, Listening, Connecting, Connected };

    explicit Winsock(QObject* parent = nullptr);
    ~Winsock() override;

    void SetLocalPort(quint16 port) { localPort_ = port; }
    // Where Listen listens: every IPv4 and IPv6 address unless set.
    void SetLocalAddress(const QHostAddress& address) { localAddress_ = address; }
    // The port actually listened on (the system's pick when 0 was asked for).
    quint16 LocalPort() const;
    void SetRemoteHost(const QString& host) { remoteHost_ = host; }
    void SetRemotePort(quint16 port) { remotePort_ = port; }

    // Listens on the local address and port. A failure arrives as Error.
    void Listen();
    // Connects to the remote host and port; Connect or Error follows.
    void Connect();
    // Makes the pending request `requestId` the connection.
    void Accept(qint32 requestId);
    // Stops listening or ends the connection; raises no signal.
    void Close();

    // False, sending nothing, when no connection is open.
    bool SendData(const QByteArray& bytes);
    // The bytes received and not yet taken, at most kReadChunkBytes.
    QByteArray GetData();
    qint64 BytesWaiting() const;

    State GetState() const { return state_; }
    bool IsConnected() const { return state_ == State::Connected; }

    // How long a connection attempt may take before it is given up.
    static constexpr int kConnectTimeoutMs = 20000;
    // The most one read takes from the connection.
    static constexpr qint64 kReadChunkBytes = 64 * 1024;

signals:
    void ConnectionRequest(qint32 requestId);
    void Connected();
    void DataArrival(qint64 bytesTotal);
    void Closed();
    void Error(int number, const QString& description);

private:
    void OnNewConnection();
    void AttachConnection(QTcpSocket* socket);
    void ScheduleDelivery();
    void DeliverData();
    void OnSocketError();
    void ReportLater(int number, const QString& description);
    void DropConnection();
    QString Describe(int error, const QString& toolkitText) const;

    State state_ = State::Closed;
    quint16 localPort_ = 0;
    QHostAddress localAddress_ = QHostAddress::Any;
    QString remoteHost_;
    quint16 remotePort_ = 0;
    QTcpServer* server_ = nullptr;
    QPointer<QTcpSocket> connection_;
    std::map<qint32, QPointer<QTcpSocket>> pending_;
    qint32 nextRequestId_ = 1;
    bool deliveryQueued_ = false;
    QTimer connectTimer_;
};

}  // namespace torvane
