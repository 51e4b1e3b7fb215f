// Cutting reads into messages, reading moves and building messages.
#include "net/protocol.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

using torvane::Command;
using torvane::CutMessages;
using torvane::Message;
using torvane::MoveDigits;

namespace {

const QStringList kNames = {"Plain", "Cnnct", "SName", "Speak", "Reset", "StrtG", "SetSt", "Finis"};

// "SetSt[103]" for a message with an argument, "Speak!" for a missing one.
QString Describe(const Message& message)
{
    const QString name = kNames.at(static_cast<int>(message.command));
    return message.argumentMissing ? name + "!" : name + "[" + message.argument + "]";
}

QStringList Describe(const std::vector<Message>& messages)
{
    QStringList out;
    for (const Message& message : messages) {
        out << Describe(message);
    }
    return out;
}

struct Described {
    QStringList messages;
    QString tail;
};

Described Cut(const QString& read, bool keepTail)
{
    const torvane::CutRead cut = CutMessages(read, keepTail);
    return {Describe(cut.messages), cut.tail};
}

// A plain rendering of the cutting rules that copies the rest of the read on
// every step, to check the index work of the real cutter against.
Described ReferenceCut(QString rest, bool keepTail)
{
    static const QRegularExpression unfinished(
        R"(^\|(C|Cn|Cnn|Cnnc|Cnnct|S|SN|SNa|SNam|SName|Sp|Spe|Spea|Speak|R|Re|Res|Rese|Reset|)"
        R"(St|Str|Strt|StrtG|Se|Set|SetS|SetSt|F|Fi|Fin|Fini|Finis)?\z|^\|SetSt.{0,3}\z)",
        QRegularExpression::DotMatchesEverythingOption);
    Described out;
    if (rest.isEmpty()) {
        return out;
    }
    if (!rest.startsWith('|')) {
        out.messages << "Plain[" + rest + "]";
        return out;
    }
    while (true) {
        if (keepTail && unfinished.match(rest).hasMatch()) {
            out.tail = rest;
            return out;
        }
        const QString name = rest.mid(1, 5);
        const QString argument = rest.mid(7);
        const int bar = argument.indexOf('|');
        if (!kNames.mid(1).contains(name)) {
            return out;
        }
        if ((name == "Speak" || name == "SetSt") && argument.isEmpty()) {
            out.messages << name + "!";
            return out;
        }
        if (name == "Cnnct" || name == "SName") {
            out.messages << name + "[" + argument + "]";
            return out;
        }
        const QString shown = name == "Speak" ? argument.left(bar) : name == "SetSt" ? argument.left(3) : QString();
        out.messages << name + "[" + shown + "]";
        if (bar < 0) {
            return out;
        }
        rest = argument.mid(bar);
    }
}

// Cuts `first`, then the kept tail in front of `second`, then flushes what is
// still kept once the line goes quiet.
QStringList CutInTwo(const QString& first, const QString& second)
{
    const torvane::CutRead one = CutMessages(first, true);
    const torvane::CutRead two = CutMessages(one.tail + second, true);
    const torvane::CutRead flushed = CutMessages(two.tail, false);
    return Describe(one.messages) + Describe(two.messages) + Describe(flushed.messages);
}

}  // namespace

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void cutsReads_data();
    void cutsReads();
    void readsMoveDigits_data();
    void readsMoveDigits();
    void buildsMessages_data();
    void buildsMessages();
    void splitInsideTagOrMoveChangesNothing();
    void splitElsewhere_data();
    void splitElsewhere();
    void agreesWithReferenceOnRandomReads();
    void cutsFloodOfMovesQuickly();
    void keepsLongLinesWhole();
};

void TestProtocol::cutsReads_data()
{
    QTest::addColumn<QString>("read");
    QTest::addColumn<bool>("keepTail");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("tail");

    const auto row = [](const char* name, const QString& read, bool keepTail, const QStringList& messages,
                        const QString& tail = {}) { QTest::newRow(name) << read << keepTail << messages << tail; };
    row("move then finis", "|SetSt 103|Finis ", false, {"SetSt[103]", "Finis[]"});
    row("reset then start", "|Reset |StrtG ", false, {"Reset[]", "StrtG[]"});
    row("name runs to the end", "|SName abc|StrtG ", false, {"SName[abc|StrtG ]"});
    row("unknown after chat dropped", "|Speak abc>>x|y", false, {"Speak[abc>>x]"});
    row("chat then reset", "|Speak abc>>x|Reset ", false, {"Speak[abc>>x]", "Reset[]"});
    row("finis without separator", "|Finis", false, {"Finis[]"});
    row("separator never examined", "|SetSt086", false, {"SetSt[86]"});
    row("short move", "|SetSt 1", false, {"SetSt[1]"});
    row("plain line whole", "hello|Reset ", false, {"Plain[hello|Reset ]"});
    row("empty chat line", "|Speak |Reset ", false, {"Speak[]", "Reset[]"});
    row("chat missing", "|Speak ", false, {"Speak!"});
    row("move missing", "|SetSt ", false, {"SetSt!"});
    row("empty connect name", "|Cnnct ", false, {"Cnnct[]"});
    row("empty name", "|SName ", false, {"SName[]"});
    row("unknown first drops all", "|Xxxxx |Reset ", false, {});
    row("move digits past bar", "|SetSt 1|Finis ", false, {"SetSt[1|F]", "Finis[]"});
    row("case matters", "|finis |Reset ", false, {});
    row("bar as separator", "|Reset|StrtG ", false, {"Reset[]"});
    row("japanese connect", "|Cnnct 山田太郎", false, {"Cnnct[山田太郎]"});
    row("japanese chat", "|Speak 花子>>こんにちは|SetSt 210", false, {"Speak[花子>>こんにちは]", "SetSt[210]"});
    row("empty read", "", true, {});

    row("kept bar", "|", true, {}, "|");
    row("kept tag start", "|S", true, {}, "|S");
    row("kept move tag", "|SetS", true, {}, "|SetS");
    row("kept full move tag", "|SetSt", true, {}, "|SetSt");
    row("kept move separator", "|SetSt ", true, {}, "|SetSt ");
    row("kept one digit", "|SetSt 0", true, {}, "|SetSt 0");
    row("kept two digits", "|SetSt 03", true, {}, "|SetSt 03");
    row("full move not kept", "|SetSt 031", true, {"SetSt[031]"});
    row("kept finis tag", "|Finis", true, {}, "|Finis");
    row("kept chat tag", "|Speak", true, {}, "|Speak");
    row("chat separator not kept", "|Speak ", true, {"Speak!"});
    row("not a tag start", "|Sx", true, {});
    row("not a tag at all", "|Xy", true, {});
    row("kept after reset", "|Reset |SetSt 1", true, {"Reset[]"}, "|SetSt 1");
    row("kept after finis", "|Finis |Fi", true, {"Finis[]"}, "|Fi");
    row("kept move with bar", "|SetSt 1|", true, {}, "|SetSt 1|");
    row("kept after chat", "|Speak a>>b|Se", true, {"Speak[a>>b]"}, "|Se");
    row("plain never kept", "hello|", true, {"Plain[hello|]"});
    row("name never kept", "|Cnnct ab|S", true, {"Cnnct[ab|S]"});

    row("bar handled", "|", false, {});
    row("tag start handled", "|SetS", false, {});
    row("move tag handled", "|SetSt", false, {"SetSt!"});
    row("two digits handled", "|SetSt 03", false, {"SetSt[03]"});
    row("move with bar handled", "|SetSt 1|", false, {"SetSt[1|]"});
    row("chat tag handled", "|Speak", false, {"Speak!"});
}

void TestProtocol::cutsReads()
{
    QFETCH(QString, read);
    QFETCH(bool, keepTail);
    QFETCH(QStringList, messages);
    QFETCH(QString, tail);

    const Described cut = Cut(read, keepTail);
    QCOMPARE(cut.messages, messages);
    QCOMPARE(cut.tail, tail);
}

void TestProtocol::readsMoveDigits_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("stone");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("source");

    QTest::newRow("three digits") << "103" << 1 << 0 << 3;
    QTest::newRow("nines") << "999" << 9 << 9 << 9;
    QTest::newRow("one digit") << "1" << 1 << 0 << 0;
    QTest::newRow("two digits") << "86" << 8 << 6 << 0;
    QTest::newRow("bar inside") << "1|F" << 1 << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0 << 0;
    QTest::newRow("letters") << "a9b" << 0 << 9 << 0;
    QTest::newRow("fullwidth digit") << "９87" << 0 << 8 << 7;
    QTest::newRow("fourth ignored") << "2104" << 2 << 1 << 0;
}

void TestProtocol::readsMoveDigits()
{
    QFETCH(QString, argument);
    QFETCH(int, stone);
    QFETCH(int, target);
    QFETCH(int, source);

    const MoveDigits digits = torvane::ReadMoveDigits(argument);
    QCOMPARE(digits.stone, stone);
    QCOMPARE(digits.target, target);
    QCOMPARE(digits.source, source);
}

void TestProtocol::buildsMessages_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<QString>("cutBack");

    QTest::newRow("connect") << torvane::CnnctMessage(u"山田") << "|Cnnct 山田" << "Cnnct[山田]";
    QTest::newRow("name") << torvane::SNameMessage(u"bob") << "|SName bob" << "SName[bob]";
    QTest::newRow("chat") << torvane::SpeakMessage(u"bob>>hi") << "|Speak bob>>hi" << "Speak[bob>>hi]";
    QTest::newRow("reset") << torvane::ResetMessage() << "|Reset " << "Reset[]";
    QTest::newRow("start") << torvane::StrtGMessage() << "|StrtG " << "StrtG[]";
    QTest::newRow("move") << torvane::SetStMessage(1, 0, 3) << "|SetSt 103" << "SetSt[103]";
    QTest::newRow("move nines") << torvane::SetStMessage(9, 9, 0) << "|SetSt 990" << "SetSt[990]";
    QTest::newRow("finis") << torvane::FinisMessage() << "|Finis " << "Finis[]";
}

void TestProtocol::buildsMessages()
{
    QFETCH(QString, built);
    QFETCH(QString, wire);
    QFETCH(QString, cutBack);

    QCOMPARE(built, wire);
    QCOMPARE(Cut(built, true).messages, QStringList{cutBack});
}

void TestProtocol::splitInsideTagOrMoveChangesNothing()
{
    const QString stream = "|StrtG |SetSt 103|SetSt 210|Finis |Reset |StrtG |SetSt 987|Speak bob>>hi";
    const QStringList whole = Cut(stream, false).messages;
    QCOMPARE(whole.size(), 8);
    // Up to the end of the chat tag every split point lies in a tag or move
    // or between messages.
    const qsizetype chatText = stream.lastIndexOf('|') + 7;
    for (qsizetype at = 0; at < chatText; ++at) {
        QCOMPARE(CutInTwo(stream.left(at), stream.mid(at)), whole);
    }
}

void TestProtocol::splitElsewhere_data()
{
    QTest::addColumn<QString>("stream");
    QTest::addColumn<int>("at");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("inside chat text") << "|Speak abcdef" << 10 << QStringList{"Speak[abc]", "Plain[def]"};
    QTest::newRow("chat text then reset") << "|Speak abcdef|Reset " << 10
                                          << QStringList{"Speak[abc]", "Plain[def|Reset ]"};
    QTest::newRow("after chat separator") << "|Speak abc" << 7 << QStringList{"Speak!", "Plain[abc]"};
    QTest::newRow("inside name") << "|SName bob" << 8 << QStringList{"SName[b]", "Plain[ob]"};
}

void TestProtocol::splitElsewhere()
{
    QFETCH(QString, stream);
    QFETCH(int, at);
    QFETCH(QStringList, messages);

    QCOMPARE(CutInTwo(stream.left(at), stream.mid(at)), messages);
}

void TestProtocol::agreesWithReferenceOnRandomReads()
{
    const QStringList pieces = {"|", "|", "Speak", "SetSt", "Finis", "Reset", "StrtG", "Cnnct", "SName",
                                "Se",  " ", "1",     "0",     "9",     ">>",    "あ", "x"};
    QRandomGenerator random(932);
    for (int round = 0; round < 20000; ++round) {
        QString read;
        const int count = random.bounded(1, 12);
        for (int i = 0; i < count; ++i) {
            read += pieces.at(random.bounded(pieces.size()));
        }
        for (const bool keepTail : {false, true}) {
            const Described actual = Cut(read, keepTail);
            const Described expected = ReferenceCut(read, keepTail);
            if (actual.messages != expected.messages || actual.tail != expected.tail) {
                QFAIL(qPrintable(QString("read \"%1\" keepTail %2: got %3 / \"%4\", expected %5 / \"%6\"")
                                     .arg(read)
                                     .arg(keepTail)
                                     .arg(actual.messages.join(' '), actual.tail, expected.messages.join(' '),
                                          expected.tail)));
            }
        }
    }
}

void TestProtocol::cutsFloodOfMovesQuickly()
{
    constexpr int kMoves = 150000;
    QString read;
    for (int i = 0; i < kMoves; ++i) {
        read += torvane::SetStMessage(i % 10, i / 10 % 10, i / 100 % 10);
    }
    QElapsedTimer timer;
    timer.start();
    const torvane::CutRead cut = CutMessages(read, true);
    // Copying the rest of the read per message would take minutes here.
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    QCOMPARE(cut.messages.size(), std::size_t{kMoves});
    QVERIFY(cut.tail.isEmpty());
    for (int i = 0; i < kMoves; ++i) {
        const MoveDigits expected{std::int16_t(i % 10), std::int16_t(i / 10 % 10), std::int16_t(i / 100 % 10)};
        QCOMPARE(cut.messages[i].command, Command::SetSt);
        QCOMPARE(torvane::ReadMoveDigits(cut.messages[i].argument), expected);
    }
}

void TestProtocol::keepsLongLinesWhole()
{
    const QString line = QString("石").repeated(100000);
    const torvane::CutRead chat = CutMessages(torvane::SpeakMessage(line) + torvane::FinisMessage(), true);
    QCOMPARE(chat.messages.size(), std::size_t{2});
    QCOMPARE(chat.messages[0].argument.size(), line.size());
    QVERIFY(chat.messages[0].argument == line);
    QCOMPARE(chat.messages[1].command, Command::Finis);

    const torvane::CutRead name = CutMessages(torvane::CnnctMessage(line), true);
    QCOMPARE(name.messages.size(), std::size_t{1});
    QVERIFY(name.messages[0].argument == line);
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "test_protocol.moc"
