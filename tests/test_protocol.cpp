// Cutting reads into messages, reading moves and building messages.
#include "net/protocol.h"

#include <QElapsedTimer>
#include <QtTest>
#include <optional>

using torvane::Command;
using torvane::CutMessages;
using torvane::Message;

namespace {

const QStringList kNames = {"Plain", "Cnnct", "SName", "Speak", "Reset", "StrtG", "SetSt", "Finis"};

// "Reset[]", "Speak[a>>b]" or "Speak!" when the argument is missing; a move
// adds the digits read from it: "SetSt[1|F]100", "SetSt!000".
QStringList Describe(const std::vector<Message>& messages) {
    QStringList out;
    for (const Message& m : messages) {
        const torvane::MoveDigits move = torvane::ReadMoveDigits(m.argument);
        const QString digits = QString("%1%2%3").arg(move.stone).arg(move.target).arg(move.source);
        out << kNames.at(static_cast<int>(m.command)) + (m.argumentMissing ? "!" : "[" + m.argument + "]") +
                   (m.command == Command::SetSt ? digits : QString());
    }
    return out;
}

// The messages of one read, then "tail <text>" for a kept tail.
QStringList Cut(const QString& read, bool keepTail) {
    const torvane::CutRead cut = CutMessages(read, keepTail);
    return cut.tail.isEmpty() ? Describe(cut.messages) : Describe(cut.messages) << "tail " + cut.tail;
}

}  // namespace

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void cutsReads_data();
    void cutsReads();
    void buildsMessages_data();
    void buildsMessages();
    void cutsHugeReadsQuicklyAndWhole();
};

// Every read is cut both as it stands and keeping an unfinished end; `kept`
// is left out where the two agree.
void TestProtocol::cutsReads_data() {
    QTest::addColumn<QString>("read");
    QTest::addColumn<QStringList>("handled");
    QTest::addColumn<QStringList>("kept");

    const auto row = [](const QString& read, const QStringList& handled, std::optional<QStringList> kept = {}) {
        QTest::newRow(qPrintable('"' + read + '"')) << read << handled << kept.value_or(handled);
    };
    row("|SetSt 103|Finis ", {"SetSt[103]103", "Finis[]"});
    row("|Reset |StrtG ", {"Reset[]", "StrtG[]"});
    row("|SName abc|StrtG ", {"SName[abc|StrtG ]"});
    row("|Speak abc>>x|y", {"Speak[abc>>x]"});
    row("|Finis", {"Finis[]"}, {{"tail |Finis"}});
    row("|SetSt086", {"SetSt[86]860"}, {{"tail |SetSt086"}});
    row("|SetSt 1", {"SetSt[1]100"}, {{"tail |SetSt 1"}});
    row("hello|Reset ", {"Plain[hello|Reset ]"});
    row("|Speak |Reset ", {"Speak[]", "Reset[]"});
    row("|Speak ", {"Speak!"}, {{"tail |Speak "}});
    row("|SetSt ", {"SetSt!000"}, {{"tail |SetSt "}});
    row("|Cnnct ", {"Cnnct[]"});
    row("|SName ", {"SName[]"}, {{"tail |SName "}});
    row("|Xxxxx |Reset ", {});
    row("|finis |Reset ", {});
    row("|SetSt 1|Finis ", {"SetSt[1|F]100", "Finis[]"});
    row("|SetSt ９9a|Reset|StrtG ", {"SetSt[９9a]090", "Reset[]"});
    row("", {});
    // Where a read may stop short, and where it may not.
    row("|", {}, {{"tail |"}});
    row("|SetSt 031", {"SetSt[031]031"});
    row("|Speak", {"Speak!"}, {{"tail |Speak"}});
    row("|Sx", {});
    row("|Speak a>>b|Se", {"Speak[a>>b]"}, {{"Speak[a>>b]", "tail |Se"}});
    row("|Speak 花子>>こんにちは|SetSt 21", {"Speak[花子>>こんにちは]", "SetSt[21]210"},
        {{"Speak[花子>>こんにちは]", "tail |SetSt 21"}});
}

void TestProtocol::cutsReads() {
    QFETCH(QString, read);
    QFETCH(QStringList, handled);
    QFETCH(QStringList, kept);

    QCOMPARE(Cut(read, false), handled);
    QCOMPARE(Cut(read, true), kept);
}

void TestProtocol::buildsMessages_data() {
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("wire");

    QTest::newRow("connect") << torvane::CnnctMessage(u"山田") << "|Cnnct 山田";
    QTest::newRow("name") << torvane::SNameMessage(u"bob") << "|SName bob";
    QTest::newRow("chat") << torvane::SpeakMessage(u"bob>>hi") << "|Speak bob>>hi";
    QTest::newRow("reset") << torvane::ResetMessage() << "|Reset ";
    QTest::newRow("start") << torvane::StrtGMessage() << "|StrtG ";
    QTest::newRow("move") << torvane::SetStMessage(1, 0, 9) << "|SetSt 109";
    QTest::newRow("finis") << torvane::FinisMessage() << "|Finis ";
}

void TestProtocol::buildsMessages() {
    QFETCH(QString, built);
    QFETCH(QString, wire);

    QCOMPARE(built, wire);
}

// A flood of moves, then a chat line and a name of 100,000 characters each.
void TestProtocol::cutsHugeReadsQuicklyAndWhole() {
    constexpr int kMoves = 150000;
    const QString line = QString("石").repeated(100000);
    QString read;
    for (int i = 0; i < kMoves; ++i) {
        read += torvane::SetStMessage(i % 10, i / 10 % 10, i / 100 % 10);
    }
    read += torvane::SpeakMessage(line) + torvane::CnnctMessage(line);
    QElapsedTimer timer;
    timer.start();
    const torvane::CutRead cut = CutMessages(read, true);
    // Copying the rest of the read per message would take minutes here.
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    QCOMPARE(cut.messages.size(), std::size_t{kMoves + 2});
    QVERIFY(cut.tail.isEmpty());
    for (int i = 0; i < kMoves; ++i) {
        QVERIFY(cut.messages[i] == (Message{Command::SetSt, read.sliced(i * 10 + 7, 3)}));
    }
    // QVERIFY rather than QCOMPARE: a failure should not print the lines.
    QVERIFY(cut.messages[kMoves] == (Message{Command::Speak, line}));
    QVERIFY(cut.messages[kMoves + 1] == (Message{Command::Cnnct, line}));
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "test_protocol.moc"
