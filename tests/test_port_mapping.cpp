// Which outside addresses of a router other players can reach.
#include <QtTest>

#include "net/port_mapping.h"

class TestPortMapping : public QObject {
    Q_OBJECT

private slots:
    void reachableOutsideAddresses_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("ordinary") << "81.4.0.1" << true;
        QTest::newRow("private 10/8") << "10.1.2.3" << false;
        QTest::newRow("private 172.16/12, first") << "172.16.0.1" << false;
        QTest::newRow("private 172.16/12, last") << "172.31.255.254" << false;
        QTest::newRow("just above 172.16/12") << "172.32.0.1" << true;
        QTest::newRow("private 192.168/16") << "192.168.1.1" << false;
        QTest::newRow("shared 100.64/10, first") << "100.64.0.1" << false;
        QTest::newRow("shared 100.64/10, last") << "100.127.255.254" << false;
        QTest::newRow("just above 100.64/10") << "100.128.0.1" << true;
        QTest::newRow("just below 100.64/10") << "100.63.255.254" << true;
        QTest::newRow("link-local") << "169.254.7.7" << false;
        QTest::newRow("loopback") << "127.0.0.1" << false;
        QTest::newRow("unknown to the router") << "0.0.0.0" << false;
        QTest::newRow("documentation") << "203.0.113.7" << false;
        QTest::newRow("benchmarking") << "198.19.1.1" << false;
        QTest::newRow("multicast") << "239.255.255.250" << false;
        QTest::newRow("broadcast") << "255.255.255.255" << false;
        QTest::newRow("IPv4 written as IPv6") << "::ffff:81.4.0.1" << true;
        QTest::newRow("private written as IPv6") << "::ffff:192.168.1.1" << false;
        QTest::newRow("not IPv4") << "2a00:1450::1" << false;
        QTest::newRow("not an address") << "router" << false;
    }
    void reachableOutsideAddresses() {
        QFETCH(QString, address);
        QFETCH(bool, reachable);
        QCOMPARE(torvane::IsPublicAddress(QHostAddress(address)), reachable);
    }
};

QTEST_GUILESS_MAIN(TestPortMapping)
#include "test_port_mapping.moc"
