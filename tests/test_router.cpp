// The game's side of forwarding a port on the home router: which outside
// addresses other players can reach, the messages between the game and its
// router helper, NAT-PMP's sign of a restarted router, and hearing a router
// announce itself. The router itself is port_forwarding_test.sh's.
#include <QUdpSocket>
#include <QtTest>

#include "net/port_map_messages.h"
#include "net/router_announcements.h"
#include "net/router_epoch.h"

using namespace torvane;

namespace {

// "Mapped 81.4.0.1:9898 1200s epoch 17 natpmp|9898": what the game took
// from an answer.
QString described(const PortMapAnswer& answer) {
    static const QStringList outcomes = {"NoRouter", "Refused", "PortTaken", "NotPublic", "Mapped"};
    const MappingResult& result = answer.result;
    QString text = outcomes[int(result.outcome)];
    if (!result.external.isNull()) text += ' ' + result.external.toString();
    if (result.externalPort != 0) text += QString(":%1 %2s").arg(result.externalPort).arg(result.lifetime);
    if (result.epoch) text += QString(" epoch %1").arg(*result.epoch);
    if (!answer.hold.isEmpty()) text += ' ' + answer.hold.join('|');
    return text;
}

// "check 9898 1200 4000 natpmp|9899"
QString described(const PortMapRequest& request) {
    static const QStringList kinds = {"open", "check", "remove"};
    return QString("%1 %2 %3 %4 %5")
        .arg(kinds[int(request.kind)])
        .arg(request.port)
        .arg(request.lease)
        .arg(request.budget.count())
        .arg(QString::fromLatin1(request.hold.join('|')));
}

const QByteArray kUpnpHold =
    "upnp http://192.168.77.1:40321/ctl/IPConn urn:schemas-upnp-org:service:WANIPConnection:1 192.168.77.2";

}  // namespace

class RouterTest : public QObject {
    Q_OBJECT
private slots:
    void reachableOutsideAddresses_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("ordinary") << "81.4.0.1" << true;
        QTest::newRow("private 172.16/12, last") << "172.31.255.254" << false;
        QTest::newRow("just above 172.16/12") << "172.32.0.1" << true;
        QTest::newRow("shared 100.64/10, last") << "100.127.255.254" << false;
        QTest::newRow("just above 100.64/10") << "100.128.0.1" << true;
        QTest::newRow("just below 100.64/10") << "100.63.255.254" << true;
        QTest::newRow("loopback") << "127.0.0.1" << false;
        QTest::newRow("unknown to the router") << "0.0.0.0" << false;
        QTest::newRow("benchmarking") << "198.19.1.1" << false;
        QTest::newRow("multicast") << "239.255.255.250" << false;
        QTest::newRow("IPv4 written as IPv6") << "::ffff:81.4.0.1" << true;
        QTest::newRow("private written as IPv6") << "::ffff:192.168.1.1" << false;
        QTest::newRow("not IPv4") << "2a00:1450::1" << false;
        QTest::newRow("not an address") << "router" << false;
    }

    void reachableOutsideAddresses() {
        QFETCH(QString, address);
        QFETCH(bool, reachable);
        QCOMPARE(isPublicAddress(QHostAddress(address)), reachable);
    }

    // What the helper prints and what the game takes from it; a line the
    // game takes is printed back the same. Anything else is no answer.
    void helperAnswers_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("taken");
        const QByteArray upnp = "mapped 81.4.0.1 9898 0 - " + kUpnpHold + '\n';
        const QByteArray natPmp = "mapped 81.4.0.1 9899 1200 17 natpmp 9899\n";
        QTest::newRow("NAT-PMP") << natPmp << "Mapped 81.4.0.1:9899 1200s epoch 17 natpmp|9899";
        QTest::newRow("UPnP, no epoch, no end")
            << upnp << "Mapped 81.4.0.1:9898 0s " + QString::fromLatin1(kUpnpHold).replace(' ', '|');
        QTest::newRow("behind another NAT") << QByteArray("notpublic 100.64.0.1\n") << "NotPublic 100.64.0.1";
        QTest::newRow("taken") << QByteArray("taken\n") << "PortTaken";
        QTest::newRow("refused") << QByteArray("refused\n") << "Refused";
        QTest::newRow("no router") << QByteArray("norouter\n") << "NoRouter";
        const QByteArray prefix = "mapped 81.4.0.1 9898 0 - upnp ";
        const qsizetype room = 1024 - prefix.size() - 1;
        QTest::newRow("as long as may be") << prefix + QByteArray(room, 'x') + '\n'
                                           << "Mapped 81.4.0.1:9898 0s upnp|" + QString(room, 'x');
        QTest::newRow("a byte too long") << prefix + QByteArray(room + 1, 'x') + '\n' << "";
        QTest::newRow("nothing") << QByteArray() << "";
        QTest::newRow("an empty line") << QByteArray("\n") << "";
        QTest::newRow("no newline") << QByteArray("norouter") << "";
        QTest::newRow("two lines") << QByteArray("taken\nnorouter\n") << "";
        QTest::newRow("unknown word") << QByteArray("gone\n") << "";
        QTest::newRow("more after a bare word") << QByteArray("norouter 81.4.0.1\n") << "";
        QTest::newRow("IPv6 outside") << QByteArray("notpublic ::1\n") << "";
        QTest::newRow("no address") << QByteArray("notpublic router\n") << "";
        QTest::newRow("mapped without hold") << QByteArray("mapped 81.4.0.1 9898 1200 17\n") << "";
        QTest::newRow("port 0") << QByteArray(natPmp).replace(" 9899 1200", " 0 1200") << "";
        QTest::newRow("port past 65535") << QByteArray(natPmp).replace(" 9899 1200", " 65536 1200") << "";
        QTest::newRow("negative lifetime") << QByteArray(natPmp).replace(" 1200 ", " -1 ") << "";
        QTest::newRow("epoch not a number") << QByteArray(natPmp).replace(" 17 ", " x ") << "";
        QTest::newRow("two blanks") << QByteArray(natPmp).replace(" 17 ", " 17  ") << "";
        QTest::newRow("control character") << QByteArray(natPmp).replace("natpmp", "nat\x01pmp") << "";
        QTest::newRow("carriage return") << QByteArray("taken\r\n") << "";
    }

    void helperAnswers() {
        QFETCH(QByteArray, line);
        QFETCH(QString, taken);
        const std::optional<PortMapAnswer> answer = parseAnswer(line);
        QCOMPARE(answer ? described(*answer) : QString(), taken);
        if (answer) QCOMPARE(answerLine(*answer), line);
    }

    // The helper's command line as the game writes it and the helper reads
    // it back; anything else is refused.
    void helperRequests_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("read");
        QTest::newRow("open") << QStringList{"open", "9898", "1200", "4000"} << "open 9898 1200 4000 ";
        QTest::newRow("check") << QStringList{"check", "9898", "4", "4000", "natpmp", "9899"}
                               << "check 9898 4 4000 natpmp|9899";
        QTest::newRow("remove") << QString("remove 9898 0 60000 " + kUpnpHold).split(' ')
                                << "remove 9898 0 60000 " + QString::fromLatin1(kUpnpHold).replace(' ', '|');
        QTest::newRow("too few") << QStringList{"open", "9898", "1200"} << "";
        QTest::newRow("unknown kind") << QStringList{"close", "9898", "1200", "4000"} << "";
        QTest::newRow("port 0") << QStringList{"open", "0", "1200", "4000"} << "";
        QTest::newRow("port past 65535") << QStringList{"open", "65536", "1200", "4000"} << "";
        QTest::newRow("negative lease") << QStringList{"open", "9898", "-1", "4000"} << "";
        QTest::newRow("no budget") << QStringList{"open", "9898", "1200", "0"} << "";
        QTest::newRow("budget past a minute") << QStringList{"open", "9898", "1200", "60001"} << "";
        QTest::newRow("open with a hold") << QStringList{"open", "9898", "1200", "4000", "natpmp"} << "";
        QTest::newRow("check without one") << QStringList{"check", "9898", "1200", "4000"} << "";
        QTest::newRow("hold with a blank") << QStringList{"remove", "9898", "0", "4000", "nat pmp"} << "";
        QTest::newRow("hold not ASCII") << QStringList{"remove", "9898", "0", "4000", "ルータ"} << "";
    }

    void helperRequests() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, read);
        const std::optional<PortMapRequest> request = parseRequest(arguments);
        QCOMPARE(request ? described(*request) : QString(), read);
        if (request) QCOMPARE(requestArguments(*request), arguments);
    }

    // Seconds into the test at which answers came, with the router's epoch
    // in each (-1: none, as over UPnP), and whether each shows a restart.
    void restartsByEpoch_data() {
        QTest::addColumn<QList<int>>("seconds");
        QTest::addColumn<QList<int>>("epochs");
        QTest::addColumn<QList<bool>>("restarted");
        QTest::newRow("keeps pace") << QList{0, 60} << QList{100, 160} << QList{false, false};
        QTest::newRow("a slow clock, 7/8 of ours") << QList{0, 80} << QList{100, 170} << QList{false, false};
        QTest::newRow("2 s behind that") << QList{0, 80} << QList{100, 168} << QList{false, false};
        QTest::newRow("more than 2 s behind") << QList{0, 80} << QList{100, 167} << QList{false, true};
        QTest::newRow("started again") << QList{0, 60} << QList{3600, 5} << QList{false, true};
        QTest::newRow("again after the restart")
            << QList{0, 60, 120} << QList{3600, 5, 65} << QList{false, true, false};
        QTest::newRow("an answer without one forgets")
            << QList{0, 60, 120} << QList{3600, -1, 5} << QList{false, false, false};
    }

    void restartsByEpoch() {
        QFETCH(QList<int>, seconds);
        QFETCH(QList<int>, epochs);
        QFETCH(QList<bool>, restarted);
        RouterEpoch epoch;
        const RouterEpoch::Clock::time_point start{};
        QList<bool> seen;
        for (int i = 0; i < seconds.size(); ++i) {
            const std::optional<quint32> heard = epochs[i] < 0 ? std::nullopt : std::optional<quint32>(epochs[i]);
            seen << epoch.restarted(heard, start + std::chrono::seconds(seconds[i]));
        }
        QCOMPARE(seen, restarted);
    }

    // Datagrams to the announcement port, as the game's own machine sends
    // them; only a router's announcement counts.
    void announcements_data() {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("heard");
        const QByteArray natPmp = QByteArray::fromHex("0080000000000e1051040001");
        // PCP's announcement: version 2, ANNOUNCE answered, epoch 5.
        const QByteArray pcp = QByteArray::fromHex("028000000000000000000005000000000000000000000000");
        QTest::newRow("NAT-PMP") << natPmp << true;
        QTest::newRow("PCP") << pcp << true;
        QTest::newRow("NAT-PMP, a mapping's answer") << QByteArray(natPmp).replace(1, 1, "\x81") << false;
        QTest::newRow("NAT-PMP, failed") << QByteArray(natPmp).replace(3, 1, "\x03") << false;
        QTest::newRow("NAT-PMP, a byte short") << natPmp.chopped(1) << false;
        QTest::newRow("NAT-PMP, a byte more") << natPmp + '\0' << false;
        QTest::newRow("PCP of NAT-PMP's size") << pcp.left(12) << false;
        QTest::newRow("another version") << QByteArray(natPmp).replace(0, 1, "\x01") << false;
    }

    void announcements() {
        QFETCH(QByteArray, datagram);
        QFETCH(bool, heard);
        RouterAnnouncements announcements;
        announcements.listen();
        QSignalSpy spy(&announcements, &RouterAnnouncements::heard);
        QUdpSocket router;
        QCOMPARE(router.writeDatagram(datagram, QHostAddress::LocalHost, 5350), datagram.size());
        QCOMPARE(spy.wait(heard ? 5000 : 300), heard);
    }
};

QTEST_MAIN(RouterTest)
#include "test_router.moc"
