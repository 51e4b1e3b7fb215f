// The socket component on its own, over loopback.

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "net/winsock.h"

using namespace torvane;

namespace {

// A server component listening on a port the system picks, accepting the
// first request as the game does.
struct ListeningSock {
    Winsock sock;
    ListeningSock() {
        QObject::connect(&sock, &Winsock::ConnectionRequest, &sock, [this](qint32 id) {
            sock.Close();
            sock.Accept(id);
        });
        sock.SetLocalPort(0);
        sock.Listen();
    }
};

}  // namespace

class WinsockTest : public QObject {
    Q_OBJECT
private slots:
    void bytesPassThroughUnchanged() {
        ListeningSock server;
        QCOMPARE(server.sock.GetState(), Winsock::State::Listening);
        Winsock client;
        QSignalSpy connected(&client, &Winsock::Connected);
        client.SetRemoteHost("127.0.0.1");
        client.SetRemotePort(server.sock.LocalPort());
        client.Connect();
        QVERIFY(connected.wait());
        QVERIFY(QTest::qWaitFor([&] { return server.sock.IsConnected(); }));
        QByteArray received;
        connect(&server.sock, &Winsock::DataArrival, this, [&] { received += server.sock.GetData(); });
        const QByteArray bytes("|SetSt 047\x81\x99\x00\xff", 14);
        QVERIFY(client.SendData(bytes));
        QVERIFY(QTest::qWaitFor([&] { return received.size() >= bytes.size(); }));
        QCOMPARE(received, bytes);
    }

    void ipv6LiteralConnects() {
        ListeningSock server;
        Winsock client;
        QSignalSpy connected(&client, &Winsock::Connected);
        QSignalSpy failed(&client, &Winsock::Error);
        client.SetRemoteHost("::1");
        client.SetRemotePort(server.sock.LocalPort());
        client.Connect();
        QVERIFY(QTest::qWaitFor([&] { return connected.size() + failed.size() > 0; }));
        if (!failed.isEmpty() && QHostAddress(QHostAddress::LocalHostIPv6).isNull()) QSKIP("no IPv6 loopback here");
        QCOMPARE(connected.size(), 1);
    }

    void errorsAreDescribedInJapanese() {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::Any, 0));
        const quint16 busy = holder.serverPort();
        Winsock listener;
        QSignalSpy listenError(&listener, &Winsock::Error);
        listener.SetLocalPort(busy);
        listener.Listen();
        QVERIFY(listenError.wait());
        QCOMPARE(listenError[0][1].toString(), QStringLiteral("ポート%1は既に使用されています").arg(busy));
        QCOMPARE(listener.GetState(), Winsock::State::Closed);

        holder.close();
        Winsock client;
        QSignalSpy connectError(&client, &Winsock::Error);
        client.SetRemoteHost("127.0.0.1");
        client.SetRemotePort(busy);
        client.Connect();
        QVERIFY(connectError.wait());
        QCOMPARE(connectError[0][1].toString(), QStringLiteral("接続が拒否されました"));

        Winsock nowhere;
        QSignalSpy hostError(&nowhere, &Winsock::Error);
        nowhere.SetRemoteHost("no-such-host.invalid");
        nowhere.SetRemotePort(9898);
        nowhere.Connect();
        QVERIFY(hostError.wait(15000));
        QCOMPARE(hostError[0][1].toString(), QStringLiteral("接続先が見つかりません"));
    }

    void sendWithoutConnectionSendsNothing() {
        Winsock idle;
        QVERIFY(!idle.SendData("|Reset "));
        QVERIFY(idle.GetData().isEmpty());
    }

    // A handler that waits in a local event loop still gets the bytes that
    // arrive meanwhile, inside its wait, and nothing is left unread after.
    void dataArrivingDuringAWaitIsDeliveredInsideIt() {
        ListeningSock server;
        QTcpSocket peer;
        peer.connectToHost(QHostAddress::LocalHost, server.sock.LocalPort());
        QVERIFY(QTest::qWaitFor([&] { return server.sock.IsConnected(); }));
        QList<QByteArray> reads;
        int depth = 0;
        QList<int> depths;
        connect(&server.sock, &Winsock::DataArrival, this, [&] {
            ++depth;
            depths << depth;
            reads << server.sock.GetData();
            if (reads.size() == 1) {
                QTimer::singleShot(20, [&] { peer.write("second"); });
                QEventLoop wait;
                QTimer::singleShot(400, &wait, &QEventLoop::quit);
                wait.exec();
            }
            --depth;
        });
        peer.write("first");
        QVERIFY(QTest::qWaitFor([&] { return reads.size() == 2 && depth == 0; }));
        QCOMPARE(reads, QList<QByteArray>({"first", "second"}));
        QCOMPARE(depths, QList<int>({1, 2}));
    }

    void peerClosingIsReportedAfterItsLastBytes() {
        ListeningSock server;
        QStringList events;
        connect(&server.sock, &Winsock::DataArrival, this, [&] { events << server.sock.GetData(); });
        connect(&server.sock, &Winsock::Closed, this, [&] { events << "closed"; });
        {
            QTcpSocket peer;
            peer.connectToHost(QHostAddress::LocalHost, server.sock.LocalPort());
            QVERIFY(peer.waitForConnected());
            peer.write("|Finis ");
            peer.flush();
            peer.disconnectFromHost();
        }
        QVERIFY(QTest::qWaitFor([&] { return events.contains("closed"); }));
        QCOMPARE(events, QStringList({"|Finis ", "closed"}));
    }
};

QTEST_MAIN(WinsockTest)
#include "test_winsock.moc"
