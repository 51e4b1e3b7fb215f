// One connection's reads turned into messages: what waits for the next read
// and what is handled at once.

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
        words << names[int(m.command)] + ":" + m.argument + (m.argumentMissing ? "!" : "");
    }
    return words;
}

}  // namespace

class MessageReaderTest : public QObject {
    Q_OBJECT
private slots:
    void reads_data() {
        QTest::addColumn<Reads>("reads");
        QTest::addColumn<QStringList>("handled");  // after every read, joined
        QTest::addColumn<QStringList>("flushed");  // the tail, once the wait is over
        QTest::newRow("whole move") << Reads{"|SetSt 036"} << QStringList{"SetSt:036"} << QStringList{};
        QTest::newRow("move split in its digits") << Reads{"|SetSt 0", "36"} << QStringList{"SetSt:036"}
                                                  << QStringList{};
        QTest::newRow("tag split, then two messages") << Reads{"|Re", "set |Finis "}
                                                      << QStringList{"Reset:", "Finis:"} << QStringList{};
        QTest::newRow("unfinished move never completed") << Reads{"|SetSt 1"} << QStringList{}
                                                         << QStringList{"SetSt:1"};
        QTest::newRow("finish without its space waits") << Reads{"|Finis"} << QStringList{}
                                                        << QStringList{"Finis:"};
        QTest::newRow("a lone bar waits; the unknown tag it makes is dropped")
            << Reads{"|Speak a>>b|", "x"} << QStringList{"Speak:a>>b"} << QStringList{};
        QTest::newRow("character split between reads") << Reads{"|Speak x\x83", "\x7c"}
                                                       << QStringList{"Speak:x", "Plain:ポ"} << QStringList{};
        QTest::newRow("chat split in its text is two pieces") << Reads{"|Speak ab", "cd"}
                                                              << QStringList{"Speak:ab", "Plain:cd"}
                                                              << QStringList{};
    }

    void reads() {
        QFETCH(Reads, reads);
        QFETCH(QStringList, handled);
        QFETCH(QStringList, flushed);
        MessageReader reader;
        QStringList seen;
        for (const QByteArray& read : reads) seen << Words(reader.Read(read));
        QCOMPARE(seen, handled);
        QCOMPARE(reader.HasTail(), !flushed.isEmpty());
        QCOMPARE(Words(reader.Flush()), flushed);
        QVERIFY(!reader.HasTail());
    }

    void resetForgetsTailAndLeadByte() {
        MessageReader reader;
        QVERIFY(reader.Read("|Speak \x83").size() == 1);
        reader.Read("|SetS");
        reader.Reset();
        QVERIFY(!reader.HasTail());
        QCOMPARE(Words(reader.Read("t 1")), QStringList{"Plain:t 1"});
    }
};

QTEST_APPLESS_MAIN(MessageReaderTest)
#include "test_message_reader.moc"
