// The network library: the code page 932 codec, one connection's reads cut
// into messages, and the socket component over loopback.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <QtTest>

#include "net/message_reader.h"
#include "net/peer_socket.h"

using namespace torvane;

using Reads = QList<QByteArray>;
Q_DECLARE_METATYPE(Reads)

namespace {

enum Way { Both, EncodeOnly, DecodeOnly };

QString decodeOnce(QByteArrayView bytes) {
    Cp932Decoder decoder;
    return decoder.decode(bytes);
}

// "Move:1|F=100": the command, its argument ("!" after it when missing) and
// for a move the digits read from it; "+" before a continuation.
QStringList words(const std::vector<Message>& messages) {
    static const QStringList names = {"Plain",      "Greeting", "NameReply", "Chat",
                                      "TallyReset", "Start",    "Move",      "GameOver"};
    QStringList words;
    for (const Message& m : messages) {
        const MoveDigits move = readMoveDigits(m.argument);
        const QString digits = QString("=%1%2%3").arg(move.stone).arg(move.target).arg(move.source);
        words << (m.continued ? "+" : "") + names[int(m.command)] + ":" + m.argument + (m.argumentMissing ? "!" : "") +
                     (m.command == Command::Move ? digits : "");
    }
    return words;
}

// `client` connected to `server` over loopback.
void join(PeerSocket& server, PeerSocket& client) {
    QVERIFY(server.listen(0, QHostAddress::LocalHost));
    QSignalSpy connected(&client, &PeerSocket::connected);
    client.connectTo("127.0.0.1", server.listenPort());
    QVERIFY(connected.wait());
    QTRY_VERIFY(server.isConnected());
}

}  // namespace

class NetTest : public QObject {
    Q_OBJECT
private slots:
    void codec_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("way");
        const auto row = [](const char* name, const QString& text, const char* hex, Way way = Both) {
            QTest::newRow(name) << text << QByteArray::fromHex(hex) << int(way);
        };
        const QString bad(QChar(0xFFFD));
        row("fullwidth tilde", QChar(0xFF5E), "8160");
        row("white star", "☆", "8199");
        row("trail byte edges", "×÷◯", "817E818081FC");
        row("po then bar", "ポ|", "837C7C");
        row("so then backslash and tilde", "ソ\\~", "835C5C7E");
        row("fullwidth bar", QChar(0xFF5C), "8162");
        row("ascii and halfwidth katakana", "a|b ｱﾟ", "617C6220B1DF");
        row("user-defined area", QChar(0xE000), "F040");
        row("approximately equal prefers jis", QChar(0x2252), "81E0");
        row("roman one prefers nec", QChar(0x2160), "8754");
        row("small roman one prefers ibm", QChar(0x2170), "FA40");
        row("wave dash", QChar(0x301C), "8160", EncodeOnly);
        row("minus sign", QChar(0x2212), "817C", EncodeOnly);
        row("other look-alikes", QString::fromUtf16(u"\u2016\u2014\u00A2\u00A3\u00AC"), "8161815C8191819281CA",
            EncodeOnly);
        row("emoji is one mark", "a😀b", "613F62", EncodeOnly);
        row("lone surrogates", QString(QChar(0xD83D)) + "a" + QChar(0xDE00) + QChar(0xD83D), "3F613F3F", EncodeOnly);
        row("outside code page", "é€", "3F3F", EncodeOnly);
        row("undefined single bytes", bad.repeated(5), "80A0FDFEFF", DecodeOnly);
        row("undefined pair keeps bar", bad + "|", "857C", DecodeOnly);
        row("lone lead keeps space or lead", bad + " " + bad + QChar(0xFF3C), "812085815F", DecodeOnly);
        row("lead at end is kept", "A", "41E0", DecodeOnly);
    }

    void codec() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(int, way);
        if (way != DecodeOnly) QCOMPARE(encodeCp932(text).toHex(' '), bytes.toHex(' '));
        if (way != EncodeOnly) QCOMPARE(decodeOnce(bytes), text);
    }

    // Each read is a byte string; after the last the connection closes, and
    // what still waits is handled as it stands.
    void reads_data() {
        QTest::addColumn<Reads>("reads");
        QTest::addColumn<QStringList>("seen");
        const auto row = [](const Reads& reads, const QStringList& seen) {
            QTest::newRow(reads.join(" / ").constData()) << reads << seen;
        };
        row({"|SetSt 103|Finis "}, {"Move:103=103", "GameOver:"});
        row({"|SetSt 1|Finis "}, {"Move:1|F=100", "GameOver:"});
        row({"|SetSt \x82\x58"
             "9a|Reset|StrtG "},
            {"Move:９9a=090", "TallyReset:"});  // a fullwidth 9 first
        row({"|SetSt 1"}, {"Move:1=100"});
        row({"|SetSt086"}, {"Move:86=860"});
        row({"|SetSt "}, {"Move:!=000"});
        row({"|SetSt 0", "36"}, {"Move:036=036"});
        row({"|SetSt ", "|Reset "}, {"Move:|Re=000", "TallyReset:"});
        row({"|Finis"}, {"GameOver:"});
        row({"|Re", "set |Finis "}, {"TallyReset:", "GameOver:"});
        row({"|"}, {});
        row({"|Sx"}, {});
        row({"|finis |Reset "}, {});
        row({"|Speak"}, {"Chat:!"});
        row({"|Speak |Reset "}, {"Chat:", "TallyReset:"});
        row({"|Speak ", "a>>b"}, {"Chat:a>>b"});
        row({"|Speak abc>>x|y"}, {"Chat:abc>>x"});
        row({"|Speak a>>b|Se"}, {"Chat:a>>b"});
        row({"|Speak x\x83", "\x7c"}, {"Chat:x", "+Chat:ポ"});
        row({"|Speak ab", "cd", "ef|Cnnct z"}, {"Chat:ab", "+Chat:cd", "+Chat:ef", "Greeting:z"});
        // A lone lead byte spoils only the message after it.
        row({"|Speak x\x81", "|Cnnct x"}, {"Chat:x", "+Chat:\uff0dCnnct x"});
        row({"|Speak ab|Reset ", "cd"}, {"Chat:ab", "TallyReset:", "Plain:cd"});
        row({"|Speak ab|Xxxxx ", "cd"}, {"Chat:ab", "Plain:cd"});
        row({"|Cnnct "}, {"Greeting:"});
        row({"|Cnnct ab", "c|Reset "}, {"Greeting:ab", "+Greeting:c|Reset "});
        row({"|SName "}, {"NameReply:"});
        row({"|SName abc|StrtG "}, {"NameReply:abc|StrtG "});
        row({"hello", "wor|Cnnct z"}, {"Plain:hello", "+Plain:wor", "Greeting:z"});
    }

    void reads() {
        QFETCH(Reads, reads);
        QFETCH(QStringList, seen);
        MessageReader reader;
        QStringList got;
        for (const QByteArray& read : reads) got << words(reader.read(read));
        got << words(reader.flush());
        QCOMPARE(got, seen);
    }

    void resetForgetsTailAndLeadByte() {
        MessageReader reader;
        reader.read("|Speak a\x83");
        reader.read("|SetS");
        reader.reset();
        QCOMPARE(words(reader.read("t 1")), QStringList{"Plain:t 1"});
    }

    // Both ends, the accepted and the connecting one, notice within a minute
    // that the other has vanished, idle or with data unacknowledged.
    void keepAliveOnBothEnds() {
        PeerSocket server, client;
        join(server, client);
        for (const PeerSocket* end : {&server, &client}) {
            const int fd = int(end->findChild<QTcpSocket*>()->socketDescriptor());
            const auto option = [fd](int level, int name) {
                int value = -1;
                socklen_t size = sizeof value;
                return getsockopt(fd, level, name, &value, &size) == 0 ? value : -1;
            };
            QCOMPARE(option(SOL_SOCKET, SO_KEEPALIVE), 1);
            const int idleProbing = option(IPPROTO_TCP, TCP_KEEPIDLE) +
                                    option(IPPROTO_TCP, TCP_KEEPINTVL) * option(IPPROTO_TCP, TCP_KEEPCNT);
            QVERIFY2(idleProbing > 0 && idleProbing <= 60, qPrintable(QString::number(idleProbing)));
            const int unacknowledgedMs = option(IPPROTO_TCP, TCP_USER_TIMEOUT);
            QVERIFY2(unacknowledgedMs > 0 && unacknowledgedMs <= 60000, qPrintable(QString::number(unacknowledgedMs)));
        }
    }

    // More than several reads' worth, sent and closed at once, to a receiver
    // that lets every other notice pass: the bytes it left are offered
    // again, all arrive unchanged, and the close comes after the last.
    void floodThenCloseArrivesWholeAndInOrder() {
        PeerSocket server, client;
        QVERIFY(!client.send("|Reset "));
        join(server, client);
        QByteArray received;
        qsizetype receivedAtClose = -1;
        int notices = 0;
        connect(&server, &PeerSocket::dataArrived, this, [&] {
            if (++notices % 2 == 0) received += server.read();
        });
        connect(&server, &PeerSocket::closed, this, [&] { receivedAtClose = received.size(); });
        const QByteArray bytes = QByteArray("|SetSt 047\x81\x99\x00\xff", 14).repeated(20000) + "|Finis ";
        QVERIFY(client.send(bytes));
        client.close();
        QTRY_VERIFY(receivedAtClose >= 0);
        QCOMPARE(receivedAtClose, bytes.size());
        QVERIFY(received == bytes);
    }
};

QTEST_MAIN(NetTest)
#include "test_net.moc"
