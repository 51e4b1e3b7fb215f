// The match as one player sees it, with no window and no socket: the
// rival's reads and the player's actions go in; what is sent, the lines for
// the list, the board, the turn, the tally and the rival's name come out.
#include <QtTest>

#include "match/match.h"
#include "net/cp932_codec.h"
#include "net/message_reader.h"

using namespace torvane;

namespace {

constexpr int kStepMs = 1;

// Stands in for the connection: records what is sent, and holds back the
// reads that come while reading is paused, as the real one does.
class FakeChannel : public MessageChannel {
public:
    explicit FakeChannel(Match& match) : match_(match) {}
    bool send(const QString& message) override {
        sent += message;
        return true;
    }
    void pauseReading() override { paused_ = true; }
    void resumeReading() override {
        paused_ = false;
        while (!paused_ && !waiting_.isEmpty()) deliver(waiting_.takeFirst());
    }
    void afterWaiting(std::function<void()> action) override { action(); }
    // One read from the rival; an empty one ends the connection.
    void deliver(const QString& read) {
        if (paused_) {
            waiting_ << read;
            return;
        }
        match_.receive(read.isEmpty() ? reader_.flush() : reader_.read(encodeCp932(read)));
    }

    QString sent;

private:
    Match& match_;
    MessageReader reader_;
    bool paused_ = false;
    QStringList waiting_;
};

// The lines as the test writes them: a notice by its name after "!", text
// that goes on in the line before after "+", the rival's move from one
// point to another after "~".
QString describe(const MatchLine& line) {
    static const QStringList notices = {"OwnFirst", "RivalFirst", "Won",    "Lost",        "Draw",
                                        "NoName",   "NoChat",     "NoMove", "NotConnected"};
    switch (line.kind) {
    case MatchLine::Kind::Notice: return "!" + notices[int(line.notice)];
    case MatchLine::Kind::RivalTextGoesOn: return "+" + line.text;
    case MatchLine::Kind::RivalMove: return QString("~%1%2").arg(line.move.from).arg(line.move.to);
    default: return line.text;
    }
}

// "own|rival|empty|turn|tally|name", as "678|210|345|none|3-4|".
QString positionOf(const Match& match, const QString& name) {
    const BoardModel& board = match.board();
    QString own, rival, empty;
    for (int i = 0; i < kStoneCount; ++i) {
        own += QString::number(board.ownStone(i));
        rival += QString::number(board.rivalStone(i));
    }
    for (PointIndex p = 0; p < kPointCount; ++p) {
        if (board.pointEmpty()[p]) empty += QString::number(p);
    }
    static const QStringList turns = {"none", "own", "rival"};
    const Tally tally = match.state().tally;
    return QStringList{
        own, rival, empty, turns[int(board.getTurn())], QString("%1-%2").arg(tally.wins).arg(tally.losses), name}
        .join('|');
}

}  // namespace

class MatchTest : public QObject {
    Q_OBJECT
private slots:
    // A step is a read from the rival ("" ends the connection), or, after
    // ">", what the player does: start, lift N, place P, reset, chat TEXT;
    // "~" waits for a start to end, "=client" opens the match anew as a
    // client and "=alone" closes it. The tally starts at 3-4.
    void conversation_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("position");
        const QString idle = "678|210|345|none|3-4|";
        const QString moved = "678|510|234|own|3-4|";
        const auto row = [](const char* name, const QStringList& steps, const QString& sent, const QStringList& lines,
                            const QString& position) { QTest::newRow(name) << steps << sent << lines << position; };
        row("greeting answered once, its rest grows the name", {"|Cnnct bo", "b2"}, "|SName sv", {},
            "678|210|345|none|3-4|bob2");
        row("a name runs to the end of the read", {"|SName abc|StrtG "}, "", {}, idle + "abc|StrtG ");
        row("empty name reply", {"|SName ", ""}, "", {"!NoName"}, idle);
        row("chat, its rest, then a move", {"|Speak b>>hel", "lo|SetSt 036"}, "", {"b>>hel", "+lo", "~25"}, moved);
        row("chat without argument", {"|Speak ", ""}, "", {"!NoChat"}, idle);
        row("empty chat then reset", {"|Speak |Reset "}, "", {""}, "678|210|345|none|0-0|");
        row("reset without its space", {"|Reset", ""}, "", {}, "678|210|345|none|0-0|");
        row("plain text", {"hello"}, "", {"hello"}, idle);
        row("stone 0 from 6 to 3", {"|SetSt 036"}, "", {"~25"}, moved);
        row("target 9 moves nothing", {"|SetSt 19|"}, "", {}, "678|210|345|own|3-4|");
        row("missing digits read as 0", {"|SetSt 1|Reset "}, "", {"~18"}, "678|280|3458|own|0-0|");
        row("stone 5 names no stone", {"|SetSt 536"}, "", {}, "678|210|345|own|3-4|");
        row("source 9 frees nothing", {"|SetSt 039"}, "", {"~25"}, "678|510|34|own|3-4|");
        row("move without argument", {"|SetSt ", ""}, "", {"!NoMove"}, idle);
        row("the rival's winning move", {"|SetSt 103|Finis "}, "", {"~18", "!Lost"}, "678|280|345|none|3-5|");
        row("what follows a start waits for its end, and later reads behind it",
            {"|StrtG |Speak r>>A|Reset ", "|Speak r>>B", "|Finis ", "~"}, "", {"!RivalFirst", "r>>A", "r>>B", "!Lost"},
            "678|210|345|none|0-1|");
        row("the rival moves during its start", {"|StrtG ", "|SetSt 036", "~"}, "", {"!RivalFirst", "~25"}, moved);
        row("crossing starts: the server's stands", {">start", "|StrtG ", "~"}, "|StrtG ", {"!OwnFirst"},
            "678|210|345|own|3-4|");
        row("crossing starts: the client gives way", {"=client", ">start", "|StrtG ", "~"}, "|Cnnct sv|StrtG ",
            {"!RivalFirst"}, "678|210|345|rival|3-4|");
        // The own stones end on the diagonal 0, 4, 8, after one went back
        // to the start row, which wins nothing.
        row("a winning move sends the move, then the game's end",
            {">start", "~", ">lift 0", ">place 3", "|SetSt 036", ">lift 0", ">place 6", "|SetSt 258", ">lift 1",
             ">place 4", "|SetSt 167", ">lift 1", ">place 0", "|SetSt 176", ">lift 0", ">place 4"},
            "|StrtG |SetSt 036|SetSt 063|SetSt 147|SetSt 104|SetSt 046|Finis ",
            {"!OwnFirst", "~25", "~03", "~12", "~21", "!Won"}, "408|513|267|none|4-4|");
        // A stone out and back twice on each side: the start position,
        // with this player to move, stands a third time.
        const QStringList outAndBack = {">lift 0", ">place 3", "|SetSt 036", ">lift 0", ">place 6", "|SetSt 063"};
        row("the third repetition draws", QStringList{">start", "~"} + outAndBack + outAndBack,
            "|StrtG |SetSt 036|SetSt 063|SetSt 036|SetSt 063", {"!OwnFirst", "~25", "~52", "~25", "~52", "!Draw"},
            "678|210|345|none|3-4|");
        row("the game ends with a stone in hand", {">start", "~", ">lift 1", "|Finis "}, "|StrtG ",
            {"!OwnFirst", "!Lost"}, "678|210|345|none|3-5|");
        row("chat and reset go out", {">chat a|b", ">reset"}, "|Speak sv>>a｜b|Reset ", {"sv>>a｜b"},
            "678|210|345|none|0-0|");
        row("alone, nothing goes out", {"=alone", ">start", ">reset", ">chat hi"}, "",
            {"!NotConnected", "!NotConnected", "!NotConnected"}, "678|210|345|none|0-0|");
    }

    void conversation() {
        QFETCH(QStringList, steps);
        QFETCH(QString, sent);
        QFETCH(QStringList, lines);
        QFETCH(QString, position);
        Match match(kStepMs);
        FakeChannel channel(match);
        QStringList seen;
        QString name;
        connect(&match, &Match::linesAdded, this, [&](const QList<MatchLine>& added) {
            for (const MatchLine& line : added) seen << describe(line);
        });
        connect(&match, &Match::rivalNamed, this, [&](const QString& named) { name = named; });
        match.open(&channel, "sv", true);
        match.setTally({3, 4});
        for (const QString& step : steps) {
            const QString action = step.section(' ', 0, 0), argument = step.section(' ', 1);
            if (step == "~") {
                QTRY_VERIFY(!match.state().startRunning);
            } else if (step == "=client") {
                match.open(&channel, "sv", false);
            } else if (step == "=alone") {
                match.close();
            } else if (action == ">start") {
                match.start();
            } else if (action == ">lift") {
                match.lift(argument.toInt());
            } else if (action == ">place") {
                QVERIFY(match.board().canPlace(PointIndex(argument.toInt())));
                match.place(PointIndex(argument.toInt()));
            } else if (action == ">reset") {
                match.resetTally();
            } else if (action == ">chat") {
                match.chat(argument);
            } else {
                channel.deliver(step);
            }
        }
        QCOMPARE(channel.sent, sent);
        QCOMPARE(seen, lines);
        QCOMPARE(positionOf(match, name), position);
        QVERIFY(!match.board().liftedStone());
    }

    // The count goes on from the number the player typed, however long.
    void tally_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<quint64>("next");
        QTest::newRow("number then text") << "12 games" << quint64(13);
        QTest::newRow("text") << "abc" << quint64(1);
        QTest::newRow("past signed 64 bits") << "9223372036854775807" << quint64(9223372036854775808u);
        QTest::newRow("past every count") << "99999999999999999999999" << std::numeric_limits<quint64>::max();
    }

    void tally() {
        QFETCH(QString, typed);
        QFETCH(quint64, next);
        QCOMPARE(countedUp(leadingNumber(typed)), next);
    }
};

QTEST_MAIN(MatchTest)
#include "test_match.moc"
