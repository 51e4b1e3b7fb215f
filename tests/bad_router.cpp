// A device that passes for a home router, for port_forwarding_test.sh: it
// answers UPnP's search (SSDP on 239.255.255.250:1900) with the address of
// its description, and then serves that description the way MODE says:
//   trickle  one byte a second, for ever
//   huge     300 MiB with no length given, as fast as the reader takes it
// Prints "asked" when the description is first asked for.
// Usage: bad_router MODE ADDRESS

#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <cstdio>

namespace {

const QHostAddress kSsdpGroup(QStringLiteral("239.255.255.250"));
constexpr quint16 kSsdpPort = 1900;
const QByteArray kHead = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n";
const QByteArray kBody = "<?xml version=\"1.0\"?><root xmlns=\"urn:schemas-upnp-org:device-1-0\"><device>";
constexpr int kTrickleMs = 1000;
constexpr qint64 kHugeBytes = qint64{300} << 20;
constexpr qint64 kChunk = 64 << 10;
// What the huge description keeps in flight.
constexpr qint64 kInFlight = 1 << 20;

// Searches arrive on the interface that holds `address`.
QNetworkInterface interfaceOf(const QHostAddress& address) {
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip() == address) return interface;
        }
    }
    return {};
}

// The search target the searcher asked for, echoed in the answer.
QByteArray searchTarget(const QByteArray& search) {
    for (const QByteArray& line : search.split('\n')) {
        if (line.toLower().startsWith("st:")) return line.mid(3).trimmed();
    }
    return {};
}

QByteArray searchAnswer(const QByteArray& target, const QHostAddress& address, quint16 port) {
    return "HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=120\r\nEXT:\r\nST: " + target +
           "\r\nUSN: uuid:5e1f0c2a-0000-4000-8000-000000000001::" + target +
           "\r\nSERVER: Linux UPnP/1.1 bad_router/1.0\r\nLOCATION: http://" + address.toString().toLatin1() + ':' +
           QByteArray::number(port) + "/rootDesc.xml\r\n\r\n";
}

// One byte of the answer a second, the first one after the request.
void trickle(QTcpSocket* socket) {
    auto* timer = new QTimer(socket);
    const QByteArray answer = kHead + kBody.repeated(1000);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, answer, sent = qsizetype{0}]() mutable {
        socket->write(answer.mid(sent++ % answer.size(), 1));
    });
    timer->start(kTrickleMs);
}

// The head, then filler while the reader keeps up, then the end.
void flood(QTcpSocket* socket) {
    socket->write(kHead);
    const QByteArray chunk = kBody.leftJustified(kChunk, ' ');
    auto refill = [socket, chunk, sent = qint64{0}]() mutable {
        while (socket->bytesToWrite() < kInFlight && sent < kHugeBytes) {
            socket->write(chunk);
            sent += chunk.size();
        }
        if (sent >= kHugeBytes) socket->disconnectFromHost();
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, refill);
    refill();
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QHostAddress address(arguments.value(2));
    const QString mode = arguments.value(1);
    if (arguments.size() != 3 || address.isNull() || (mode != "trickle" && mode != "huge")) {
        std::fprintf(stderr, "usage: bad_router trickle|huge ADDRESS\n");
        return 2;
    }
    QTcpServer http;
    QUdpSocket ssdp;
    if (!http.listen(address) || !ssdp.bind(QHostAddress::AnyIPv4, kSsdpPort, QUdpSocket::ShareAddress) ||
        !ssdp.joinMulticastGroup(kSsdpGroup, interfaceOf(address))) {
        std::fprintf(stderr, "bad_router: cannot listen\n");
        return 1;
    }
    QObject::connect(&ssdp, &QUdpSocket::readyRead, [&] {
        while (ssdp.hasPendingDatagrams()) {
            QHostAddress sender;
            quint16 senderPort = 0;
            QByteArray search(int(ssdp.pendingDatagramSize()), '\0');
            ssdp.readDatagram(search.data(), search.size(), &sender, &senderPort);
            if (!search.startsWith("M-SEARCH")) continue;
            ssdp.writeDatagram(searchAnswer(searchTarget(search), address, http.serverPort()), sender, senderPort);
        }
    });
    QObject::connect(&http, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* socket = http.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, mode] {
                socket->readAll();
                if (socket->property("asked").toBool()) return;
                socket->setProperty("asked", true);
                std::printf("asked\n");
                std::fflush(stdout);
                mode == "trickle" ? trickle(socket) : flood(socket);
            });
        }
    });
    return QCoreApplication::exec();
}
