#pragma once
// Puts a CpuPlayer on the game's connection: listens for one client or
// connects to a server, hands every received message to the player, sends
// what the player answers and keeps the player's one timer. Finished carries
// the exit status: 0 when the connection closes, 1 when none could be made.

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTextStream>
#include <QTimer>

#include "cpu/cpu_player.h"
#include "net/message_connection.h"

namespace torvane {

struct PeerTiming {
    // The human may start the computer first and the game program after it.
    int connectWindowMs = 60000;
    int retryIntervalMs = 500;
};

class CpuPeer : public QObject {
    Q_OBJECT
public:
    CpuPeer(CpuPlayer& player, QTextStream& out, QTextStream& err, PeerTiming timing = {}, QObject* parent = nullptr);

    // Listens on `address`; false (with a message) when the port is not to
    // be had. Port 0 lets the system choose: see listenPort.
    bool listen(quint16 port, const QHostAddress& address = QHostAddress::Any);
    quint16 listenPort() const;
    void connectTo(const QString& host, quint16 port);

signals:
    void finished(int exitStatus);

private:
    void tryConnect();
    void onConnected();
    void onWake();
    void onFailed(const SocketFailure& failure);
    void onClosed();
    void dispatch(const std::vector<Message>& messages);
    void apply(const Reply& reply);

    CpuPlayer& player_;
    QTextStream& out_;
    QTextStream& err_;
    PeerTiming timing_;
    MessageConnection connection_;
    QString host_;
    quint16 port_ = 0;
    bool connected_ = false;
    QTimer wake_;
    QTimer retry_;
    QElapsedTimer connectClock_;
};

}  // namespace torvane
