// The network library: the code page 932 codec, one connection's reads cut
// into messages, and the socket component over loopback.
#include <QtTest>

#include "net/message_reader.h"
#include "net/winsock.h"

using namespace torvane;

using Reads = QList<QByteArray>;
Q_DECLARE_METATYPE(Reads)

namespace {

enum Way { Both, EncodeOnly, DecodeOnly };

QString DecodeOnce(QByteArrayView bytes) {
    Cp932Decoder decoder;
    return decoder.Decode(bytes);
}

// "SetSt:1|F=100": the command, its argument ("!" after it when missing) and
// for a move the digits read from it; "+" before a continuation.
QStringList Words(const std::vector<Message>& messages) {
    static const QStringList names = {"Plain", "Cnnct", "SName", "Speak", "Reset", "StrtG", "SetSt", "Finis"};
    QStringList words;
    for (const Message& m : messages) {
        const MoveDigits move = ReadMoveDigits(m.argument);
        const QString digits = QString("=%1%2%3").arg(move.stone).arg(move.target).arg(move.source);
        words << (m.continued ? "+" : "") + names[int(m.command)] + ":" + m.argument + (m.argumentMissing ? "!" : "") +
                     (m.command == Command::SetSt ? digits : "");
    }
    return words;
}

// A server component on a port the system picks, accepting the first
// request as the game does.
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
        if (way != DecodeOnly) QCOMPARE(EncodeCp932(text).toHex(' '), bytes.toHex(' '));
        if (way != EncodeOnly) QCOMPARE(DecodeOnce(bytes), text);
    }

    // Where several pairs decode to one character the encoder picks one of
    // them (pinned above); every pair comes back as its character.
    void everyPairEncodesBackToItsCharacter() {
        int decodable = 0;
        for (int lead = 0x81; lead <= 0xFC; lead = lead == 0x9F ? 0xE0 : lead + 1) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const QByteArray pair = QByteArray(1, char(lead)) + char(trail);
                const QString text = DecodeOnce(pair);
                if (text.size() != 1 || text[0] == QChar(0xFFFD)) continue;
                ++decodable;
                const QByteArray back = EncodeCp932(text);
                QVERIFY2(back.size() == 2 && DecodeOnce(back) == text,
                         qPrintable(pair.toHex() + " -> " + back.toHex()));
            }
        }
        // JIS X 0208, the NEC and IBM extensions and the user-defined area.
        QVERIFY2(decodable > 9000, qPrintable(QString::number(decodable)));
    }

    // One decoder, reset after a read that ends in a lead byte each time, then
    // fed the bytes split anywhere with an empty read between the two parts.
    void splitAtAnyByteDecodesAlike() {
        const QByteArray bytes = EncodeCp932(u"|Speak 山田>>ｺﾝﾆﾁﾊ～①\\~|SetSt 103") +
                                 QByteArray::fromHex("81207C857C8180FF") + EncodeCp932(u"ポ|Finis ");
        const QString whole = DecodeOnce(bytes);
        Cp932Decoder decoder;
        for (qsizetype at = 0; at <= bytes.size(); ++at) {
            QCOMPARE(decoder.Decode(QByteArray::fromHex("4183")), "A");
            decoder.Reset();
            const QString first = decoder.Decode(bytes.first(at));
            const QString empty = decoder.Decode({});
            QCOMPARE(first + empty + decoder.Decode(bytes.sliced(at)), whole);
            QVERIFY(!decoder.HasPendingByte());
        }
    }

    // Each read is a byte string; an empty one stands for the window closing
    // (Expire). After each read come its messages and "…" while something
    // waits on the window; the last window closes after the last read.
    void reads_data() {
        QTest::addColumn<Reads>("reads");
        QTest::addColumn<QStringList>("seen");
        const auto row = [](const Reads& reads, const QStringList& seen) {
            QTest::newRow(reads.join(" / ").constData()) << reads << seen;
        };
        row({"|SetSt 103|Finis "}, {"SetSt:103=103", "Finis:"});
        row({"|SetSt 1|Finis "}, {"SetSt:1|F=100", "Finis:"});
        row({"|SetSt \x82\x58"
             "9a|Reset|StrtG "},
            {"SetSt:９9a=090", "Reset:"});  // a fullwidth 9 first
        row({"|SetSt 1"}, {"…", "SetSt:1=100"});
        row({"|SetSt086"}, {"…", "SetSt:86=860"});
        row({"|SetSt "}, {"…", "SetSt:!=000"});
        row({"|SetSt 0", "36"}, {"…", "SetSt:036=036"});
        row({"|Finis"}, {"…", "Finis:"});
        row({"|Re", "set |Finis "}, {"…", "Reset:", "Finis:"});
        row({"|"}, {"…"});
        row({"|Sx"}, {});
        row({"|finis |Reset "}, {});
        row({"|Speak"}, {"…", "Speak:!"});
        row({"|Speak "}, {"…", "Speak:!"});
        row({"|Speak |Reset "}, {"Speak:", "Reset:"});
        row({"|Speak ", "a>>b"}, {"…", "Speak:a>>b", "…"});
        row({"|Speak abc>>x|y"}, {"Speak:abc>>x"});
        row({"|Speak a>>b|Se"}, {"Speak:a>>b", "…"});
        row({"|Speak x\x83", "\x7c"}, {"Speak:x", "…", "+Speak:ポ", "…"});
        row({"|Speak ab", "cd", "ef|Cnnct z"}, {"Speak:ab", "…", "+Speak:cd", "…", "+Speak:ef", "Cnnct:z", "…"});
        row({"|Speak ab", "", "cd|Reset "}, {"Speak:ab", "…", "Plain:cd|Reset ", "…"});
        row({"|Speak x\x81", "", "|Cnnct x"}, {"Speak:x", "…", "Cnnct:x", "…"});
        row({"|Speak ab|Reset ", "cd"}, {"Speak:ab", "Reset:", "Plain:cd", "…"});
        row({"|Speak ab|Xxxxx ", "cd"}, {"Speak:ab", "Plain:cd", "…"});
        row({"|Cnnct "}, {"Cnnct:", "…"});
        row({"|Cnnct ab", "c|Reset "}, {"Cnnct:ab", "…", "+Cnnct:c|Reset ", "…"});
        row({"|SName "}, {"…", "SName:"});
        row({"|SName abc|StrtG "}, {"SName:abc|StrtG ", "…"});
        row({"hello", "wor|Cnnct z"}, {"Plain:hello", "…", "+Plain:wor", "Cnnct:z", "…"});
    }

    void reads() {
        QFETCH(Reads, reads);
        QFETCH(QStringList, seen);
        MessageReader reader;
        QStringList got;
        for (const QByteArray& read : reads) {
            got << Words(read.isEmpty() ? reader.Expire() : reader.Read(read));
            if (reader.Waiting()) got << "…";
        }
        got << Words(reader.Expire());
        QCOMPARE(got, seen);
        QVERIFY(!reader.Waiting());
    }

    void resetForgetsTailAndLeadByte() {
        MessageReader reader;
        reader.Read("|Speak a\x83");
        reader.Read("|SetS");
        reader.Reset();
        QVERIFY(!reader.Waiting());
        QCOMPARE(Words(reader.Read("t 1")), QStringList{"Plain:t 1"});
    }

    // More than several reads' worth, sent and closed at once, to a receiver
    // that lets every other notice pass: the bytes it left are offered
    // again, all arrive unchanged, and the close comes after the last.
    void floodThenCloseArrivesWholeAndInOrder() {
        ListeningSock server;
        Winsock client;
        QVERIFY(!client.SendData("|Reset "));
        QSignalSpy connected(&client, &Winsock::Connected);
        client.SetRemoteHost("127.0.0.1");
        client.SetRemotePort(server.sock.LocalPort());
        client.Connect();
        QVERIFY(connected.wait());
        QTRY_VERIFY(server.sock.IsConnected());
        QByteArray received;
        qsizetype receivedAtClose = -1;
        int notices = 0;
        connect(&server.sock, &Winsock::DataArrival, this, [&] {
            if (++notices % 2 == 0) received += server.sock.GetData();
        });
        connect(&server.sock, &Winsock::Closed, this, [&] { receivedAtClose = received.size(); });
        const QByteArray bytes = QByteArray("|SetSt 047\x81\x99\x00\xff", 14).repeated(20000) + "|Finis ";
        QVERIFY(client.SendData(bytes));
        client.Close();
        QTRY_VERIFY(receivedAtClose >= 0);
        QCOMPARE(receivedAtClose, bytes.size());
        QVERIFY(received == bytes);
    }

    // Refusal and a port in use show in a window; a name nobody knows here.
    void unknownHostIsDescribedInJapanese() {
        Winsock nowhere;
        QSignalSpy error(&nowhere, &Winsock::Error);
        nowhere.SetRemoteHost("no-such-host.invalid");
        nowhere.SetRemotePort(9898);
        nowhere.Connect();
        QVERIFY(error.wait(15000));
        QCOMPARE(error[0][1].toString(), "接続先が見つかりません");
    }
};

QTEST_MAIN(NetTest)
#include "test_net.moc"
