#include "support/raw_peer.h"

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

}  // namespace torvane::testing

namespace torvane::testing {

bool ServedWindow::Open() {
    player.Serve(QStringLiteral("sv"));
    return peer.ConnectTo(player);
}

}  // namespace torvane::testing
