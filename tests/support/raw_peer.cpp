#include "support/raw_peer.h"

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <QTest>

namespace torvane::testing {

bool RawPeer::ConnectTo(Player& server) {
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [this] { received_ += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, server.Port());
    return QTest::qWaitFor([&] { return server.window->Winsock->IsConnected(); });
}

void RawPeer::Feed(const QByteArray& bytes, int settleMs) {
    socket.write(bytes);
    socket.flush();
    QTest::qWait(settleMs);
}

QByteArray RawPeer::Take() {
    QByteArray taken = received_;
    received_.clear();
    return taken;
}

bool RawPeer::WaitFor(qsizetype size, int ms) {
    return QTest::qWaitFor([&] { return received_.size() >= size; }, ms);
}

bool RawPeer::AllRead(const Player& server) const {
    int unsent = 0;
    if (socket.bytesToWrite() > 0 || ioctl(socket.socketDescriptor(), SIOCOUTQ, &unsent) != 0 || unsent > 0) {
        return false;
    }
    for (const QTcpSocket* end : server.window->Winsock->findChildren<QTcpSocket*>()) {
        if (end->peerPort() != socket.localPort()) continue;
        int unread = 0;
        return end->bytesAvailable() == 0 && ioctl(end->socketDescriptor(), FIONREAD, &unread) == 0 && unread == 0;
    }
    return false;
}

}  // namespace torvane::testing

namespace torvane::testing {

bool ServedWindow::Open() {
    player.Serve(QStringLiteral("sv"));
    return peer.ConnectTo(player);
}

}  // namespace torvane::testing
