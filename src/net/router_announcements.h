#pragma once
// A NAT-PMP router that starts, or whose outside address changes, says so
// to every host on its network: a datagram to 224.0.0.1, port 5350; one
// that speaks PCP, NAT-PMP's successor, sends its own kind of announcement
// there instead. Hearing either is reason to check the mapping at once.
// Anyone on the network can send such a datagram, so it only ever brings a
// check forward.

#include <QObject>

class QUdpSocket;

namespace torvane {

class RouterAnnouncements : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts listening, beside any other program that listens too; again
    // is harmless. Without the port or the group there is only the
    // periodic check.
    void listen();

signals:
    void heard();

private:
    void read();

    QUdpSocket* socket_ = nullptr;
};

}  // namespace torvane
