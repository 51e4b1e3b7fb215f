// Finding games on the local network, what can be tested without a daemon:
// the Avahi poll adapter on Qt's event loop, the nickname as an instance
// name, a peer's name as text to show, the address to connect to, and the
// rules of the list of games found. Real daemons: lan_games_test.sh.
#include <unistd.h>

#include <QNetworkInterface>
#include <QtTest>
#include <array>
#include <optional>

#include "net/avahi_poll_adapter.h"
#include "net/dns_sd_values.h"
#include "net/found_games.h"

using namespace torvane;

namespace {

// An interface index no interface has.
constexpr int kNoInterface = 99999;

int interfaceIndex(const QString& name) {
    return name == "gone" ? kNoInterface : QNetworkInterface::interfaceIndexFromName(name);
}

// Carries out "add NAME INTERFACE v4|v6", "resolve NAME INTERFACE v4|v6
// ADDRESS PORT" and "remove NAME INTERFACE v4|v6"; false when Add refused.
bool apply(FoundGames& games, const QString& step) {
    const QStringList words = step.split(' ');
    const Sighting sighting{words[1].toUtf8(), interfaceIndex(words[2]), words[3] == "v6"};
    if (words[0] == "add") return games.add(sighting);
    if (words[0] == "resolve") games.resolve(sighting, QHostAddress(words[4]), words[5].toUShort());
    if (words[0] == "remove") games.remove(sighting);
    return true;
}

QStringList listedNames(const FoundGames& games) {
    QStringList listed;
    for (const FoundGame& game : games.games())
        listed << QStringList{game.name, game.address.toString(), QString::number(game.port), game.interfaceName}.join(
            ' ');
    return listed;
}

struct Pipe {
    std::array<int, 2> fds{-1, -1};
    Pipe() { QVERIFY(::pipe(fds.data()) == 0); }
    ~Pipe() {
        for (const int fd : fds) ::close(fd);
    }
};

}  // namespace

class LanGamesTest : public QObject {
    Q_OBJECT
private slots:
    // Avahi's D-Bus glue frees a watch from inside its own callback when
    // the connection closes; the sanitizer build holds the adapter to that.
    void pollWatchCallsBackAndMayFreeItself() {
        AvahiPollAdapter adapter;
        const AvahiPoll* api = adapter.api();
        Pipe pipe;
        struct Seen {
            const AvahiPoll* api;
            int calls = 0;
            AvahiWatchEvent events{};
        } seen{api};
        AvahiWatch* watch = api->watch_new(
            api, pipe.fds[0], AVAHI_WATCH_IN,
            [](AvahiWatch* self, int, AvahiWatchEvent events, void* userdata) {
                auto* seen = static_cast<Seen*>(userdata);
                ++seen->calls;
                seen->events = events;
                seen->api->watch_free(self);
            },
            &seen);
        QVERIFY(watch);
        QTest::qWait(20);
        QCOMPARE(seen.calls, 0);
        QCOMPARE(::write(pipe.fds[1], "x", 1), 1);
        QTRY_COMPARE(seen.calls, 1);
        QCOMPARE(seen.events, AVAHI_WATCH_IN);
        // Freed: the byte still waiting wakes nobody.
        QTest::qWait(50);
        QCOMPARE(seen.calls, 1);
    }

    void serviceNames_data() {
        QTest::addColumn<QString>("nickname");
        QTest::addColumn<QByteArray>("name");
        const QString hiragana = QString(u'は').repeated(21);
        QTest::newRow("short") << "hanako" << QByteArray("hanako");
        QTest::newRow("63 bytes of Japanese") << hiragana << hiragana.toUtf8();
        QTest::newRow("64 letters") << QString(64, u'a') << QByteArray(63, 'a');
        QTest::newRow("not half a character") << QString(62, u'a') + u'は' << QByteArray(62, 'a');
        QTest::newRow("emoji does not fit") << QString(60, u'a') + "😀" << QByteArray(60, 'a');
    }

    void serviceNames() {
        QFETCH(QString, nickname);
        QFETCH(QByteArray, name);
        QCOMPARE(serviceName(nickname), name);
    }

    void shownNames_data() {
        QTest::addColumn<QByteArray>("serviceName");
        QTest::addColumn<QString>("shown");
        const QByteArray letters = "abcdefghijklmnopqrstuvwxyz012345";
        QTest::newRow("Japanese") << QByteArray("はなこ") << "はなこ";
        QTest::newRow("markup stays text") << QByteArray("<b>markup</b>") << "<b>markup</b>";
        QTest::newRow("controls dropped") << QByteArray("a\nb\tc\x1b[0m\r") << "abc[0m";
        QTest::newRow("direction override dropped") << QByteArray("\u202Eevil") << "evil";
        QTest::newRow("invalid UTF-8 replaced") << QByteArray("a\xFF") << QString("a") + QChar(0xFFFD);
        QTest::newRow("33 are cut") << letters + "6" << QString(letters.first(31)) + u'…';
        QTest::newRow("cut between emoji") << QString("😀").repeated(40).toUtf8() << QString("😀").repeated(31) + u'…';
    }

    void shownNames() {
        QFETCH(QByteArray, serviceName);
        QFETCH(QString, shown);
        QCOMPARE(shownName(serviceName), shown);
    }

    // Connecting to a link-local IPv6 address needs the interface it was
    // found on.
    void connectAddresses_data() {
        QTest::addColumn<QString>("resolved");
        QTest::addColumn<QString>("connectTo");
        QTest::newRow("IPv4") << QString("10.77.0.1") << QString("10.77.0.1");
        QTest::newRow("link-local IPv6") << QString("fe80::1") << QString("fe80::1%lo");
        QTest::newRow("global IPv6") << QString("2001:db8::1") << QString("2001:db8::1");
    }

    void connectAddresses() {
        QFETCH(QString, resolved);
        QFETCH(QString, connectTo);
        AvahiAddress address{};
        QVERIFY(avahi_address_parse(resolved.toLatin1().constData(), AVAHI_PROTO_UNSPEC, &address));
        QCOMPARE(connectAddress(address, interfaceIndex("lo")).toString(), connectTo);
    }

    // Steps as Apply reads them; the list afterwards as "NAME ADDRESS PORT
    // INTERFACE".
    void foundGames_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("listed");
        const auto row = [](const char* name, const QStringList& steps, const QStringList& listed) {
            QTest::newRow(name) << steps << listed;
        };
        row("not listed before resolved", {"add g lo v4"}, {});
        row("listed once resolved", {"add g lo v4", "resolve g lo v4 10.0.0.1 9898"}, {"g 10.0.0.1 9898 lo"});
        row("IPv4 wins though IPv6 came first",
            {"add g lo v6", "add g lo v4", "resolve g lo v6 fe80::1%lo 9898", "resolve g lo v4 10.0.0.1 9898"},
            {"g 10.0.0.1 9898 lo"});
        row("IPv6 waits while IPv4 resolves", {"add g lo v4", "add g lo v6", "resolve g lo v6 fe80::1%lo 9898"}, {});
        row("IPv6 once the IPv4 report goes",
            {"add g lo v4", "add g lo v6", "resolve g lo v4 10.0.0.1 9898", "resolve g lo v6 2001:db8::1 9898",
             "remove g lo v4"},
            {"g 2001:db8::1 9898 lo"});
        row("the last report removed, the game goes",
            {"add g lo v4", "resolve g lo v4 10.0.0.1 9898", "remove g lo v4"}, {});
        row("in the order first reported",
            {"add b lo v4", "add a lo v4", "resolve a lo v4 10.0.0.1 1", "resolve b lo v4 10.0.0.2 2"},
            {"b 10.0.0.2 2 lo", "a 10.0.0.1 1 lo"});
    }

    void foundGames() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, listed);
        FoundGames games;
        for (const QString& step : steps) QVERIFY2(apply(games, step), qPrintable(step));
        QCOMPARE(listedNames(games), listed);
    }

    // A flood of announcements fills the list and no more: a game already
    // listed may still be heard elsewhere, and a freed place takes a new one.
    void atMostFiftyGames() {
        FoundGames games;
        for (int i = 0; i < FoundGames::kMaxGames; ++i) {
            const QString name = QString("g%1").arg(i);
            QVERIFY(apply(games, "add " + name + " lo v4"));
            apply(games, "resolve " + name + " lo v4 10.0.0.1 9898");
        }
        QVERIFY(!apply(games, "add late lo v4"));
        QVERIFY(apply(games, "add g0 lo v6"));
        apply(games, "resolve late lo v4 10.0.0.2 9898");
        QCOMPARE(games.games().size(), FoundGames::kMaxGames);
        QVERIFY(!listedNames(games).join(' ').contains("late"));
        apply(games, "remove g1 lo v4");
        QVERIFY(apply(games, "add late lo v4"));
    }
};

QTEST_MAIN(LanGamesTest)
#include "test_lan_games.moc"
