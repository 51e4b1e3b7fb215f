#pragma once
// Puts a CpuPlayer on a TCP connection: listens for one client or connects
// to a server, turns received bytes into messages, sends what the player
// answers and keeps the player's one timer. Finished carries the exit
// status: 0 when the connection closes, 1 when none could be made.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextStream>
#include <QTimer>

#include "cpu/cpu_player.h"
#include "net/message_reader.h"

class QTcpServer;
class QTcpSocket;

namespace torvane {

struct PeerTiming {
    // The human may start the computer first and the game program after it.
    int connectWindowMs = 60000;
    int retryIntervalMs = 500;
    // How long an unfinished tag at the end of a read waits for the rest.
    int tailWaitMs = kTailWaitMs;
};

class CpuPeer : public QObject {
    Q_OBJECT
public:
    CpuPeer(CpuPlayer& player, QTextStream& out, QTextStream& err, PeerTiming timing = {}, QObject* parent = nullptr);

    // Listens on every address; false (with a message) when the port is not
    // to be had. Port 0 lets the system choose: see ListenPort.
    bool Listen(quint16 port);
    quint16 ListenPort() const;
    void Connect(const QString& host, quint16 port);

signals:
    void Finished(int exitStatus);

private:
    void Attach(QTcpSocket* socket);
    void TryConnect();
    void OnConnectError();
    void OnNewConnection();
    void OnReadyRead();
    void OnTailTimeout();
    void OnDisconnected();
    void Dispatch(const std::vector<Message>& messages);
    void Apply(const Reply& reply);

    CpuPlayer& player_;
    QTextStream& out_;
    QTextStream& err_;
    PeerTiming timing_;
    QTcpServer* server_ = nullptr;
    QPointer<QTcpSocket> socket_;
    QString host_;
    quint16 port_ = 0;
    bool connected_ = false;
    QTimer wake_;
    QTimer tail_;
    QTimer retry_;
    QElapsedTimer connectClock_;
    MessageReader reader_;
};

}  // namespace torvane
