// One connection's reads turned into messages: what waits for the next read,
// what continues the last message, and what the closing window ends.

#include <QtTest>

#include "net/message_reader.h"

using namespace torvane;

using Reads = QList<QByteArray>;
Q_DECLARE_METATYPE(Reads)

namespace {

// The messages as "command:argument" words, for compact tables.
QStringList Words(const std::vector<Message>& messages) {
    static const QStringList names = {"Plain", "Cnnct", "SName", "Speak", "Reset", "StrtG", "SetSt", "Finis"};
    QStringList words;
    for (const Message& m : messages) {
        words << (m.continued ? "+" : "") + names[int(m.command)] + ":" + m.argument + (m.argumentMissing ? "!" : "");
    }
    return words;
}

}  // namespace

class MessageReaderTest : public QObject {
    Q_OBJECT
private slots:
    // Each read is a byte string; an empty one stands for the window closing
    // (Expire) before the next read.
    void reads_data() {
        QTest::addColumn<Reads>("reads");
        QTest::addColumn<QStringList>("handled");  // after every read, joined
        QTest::addColumn<QStringList>("expired");  // once the last window closes
        QTest::newRow("move split in its digits")
            << Reads{"|SetSt 0", "36"} << QStringList{"SetSt:036"} << QStringList{};
        QTest::newRow("tag split, then two messages")
            << Reads{"|Re", "set |Finis "} << QStringList{"Reset:", "Finis:"} << QStringList{};
        QTest::newRow("unfinished move never completed")
            << Reads{"|SetSt 1"} << QStringList{} << QStringList{"SetSt:1"};
        QTest::newRow("chat tag without its text waits")
            << Reads{"|Speak ", "a>>b"} << QStringList{"Speak:a>>b"} << QStringList{};
        QTest::newRow("a lone bar waits; the unknown tag it makes is dropped")
            << Reads{"|Speak a>>b|", "x"} << QStringList{"Speak:a>>b"} << QStringList{};
        QTest::newRow("character split between reads")
            << Reads{"|Speak x\x83", "\x7c"} << QStringList{"Speak:x", "+Speak:ポ"} << QStringList{};
        QTest::newRow("chat continued up to the next message")
            << Reads{"|Speak ab", "cd", "ef|Cnnct z"} << QStringList{"Speak:ab", "+Speak:cd", "+Speak:ef", "Cnnct:z"}
            << QStringList{};
        QTest::newRow("a name takes the whole continuing read")
            << Reads{"|Cnnct ab", "c|Reset "} << QStringList{"Cnnct:ab", "+Cnnct:c|Reset "} << QStringList{};
        QTest::newRow("a plain line continues too")
            << Reads{"hello", "wor|Cnnct z"} << QStringList{"Plain:hello", "+Plain:wor", "Cnnct:z"} << QStringList{};
        QTest::newRow("after the window a read is plain again")
            << Reads{"|Speak ab", "", "cd|Reset "} << QStringList{"Speak:ab", "Plain:cd|Reset "} << QStringList{};
        QTest::newRow("a kept lead byte is dropped with the window")
            << Reads{"|Speak x\x81", "", "|Cnnct x"} << QStringList{"Speak:x", "Cnnct:x"} << QStringList{};
        QTest::newRow("a chat cut by another message is not continued")
            << Reads{"|Speak ab|Reset ", "cd"} << QStringList{"Speak:ab", "Reset:", "Plain:cd"} << QStringList{};
        QTest::newRow("a chat ended by an unknown tag is not continued")
            << Reads{"|Speak ab|Xxxxx ", "cd"} << QStringList{"Speak:ab", "Plain:cd"} << QStringList{};
    }

    void reads() {
        QFETCH(Reads, reads);
        QFETCH(QStringList, handled);
        QFETCH(QStringList, expired);
        MessageReader reader;
        QStringList seen;
        for (const QByteArray& read : reads) seen << Words(read.isEmpty() ? reader.Expire() : reader.Read(read));
        QCOMPARE(seen, handled);
        QCOMPARE(Words(reader.Expire()), expired);
        QVERIFY(!reader.Waiting());
    }

    void resetForgetsTailAndLeadByte() {
        MessageReader reader;
        QVERIFY(reader.Read("|Speak a\x83").size() == 1);
        reader.Read("|SetS");
        reader.Reset();
        QVERIFY(!reader.Waiting());
        QCOMPARE(Words(reader.Read("t 1")), QStringList{"Plain:t 1"});
    }
};

QTEST_APPLESS_MAIN(MessageReaderTest)
#include "test_message_reader.moc"
