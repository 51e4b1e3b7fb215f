// Two game windows joined over loopback: greeting, system lines, the end of
// a connection and the failures on the way.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

#include "support/expected_lines.h"
#include "support/player.h"
#include "support/probes.h"
#include "ui/bitmaps.h"
#include "ui/picture_box.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::testing::line;

namespace {

QStringList WithoutAddressLine(QStringList lines) {
    lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("☆☆☆　接続先：")); });
    return lines;
}

}  // namespace

class ConnectionTest : public QObject {
    Q_OBJECT
private slots:
    void greetingAndSystemLinesOnBothSides() {
        Player server;
        Player client;
        QVERIFY(ConnectPair(server, client, "はなこ", "taro"));
        QCOMPARE(server.window->OneSelf->text(), QStringLiteral("はなこ"));
        QCOMPARE(server.window->Rival->text(), QStringLiteral("taro"));
        QCOMPARE(client.window->OneSelf->text(), QStringLiteral("taro"));
        QCOMPARE(client.window->Rival->text(), QStringLiteral("はなこ"));
        QCOMPARE(WithoutAddressLine(server.Lines()), QStringList({kListening, kAccepted}));
        QCOMPARE(client.Lines(), QStringList({kConnecting, kConnected}));
        // None of these lines moves the selection.
        QVERIFY(server.window->RecieveList->selectedItems().isEmpty());
        QVERIFY(client.window->RecieveList->selectedItems().isEmpty());
        QVERIFY(!server.session.settings.ConnectAccepted && !client.session.settings.ConnectAccepted);
    }

    void addressLineFollowsTheListeningLine() {
        Player server;
        server.Serve("sv");
        const QStringList lines = server.Lines();
        QCOMPARE(lines.first(), kListening);
        if (lines.size() == 1) QSKIP("this machine has no address but loopback");
        QVERIFY(lines[1].startsWith(QStringLiteral("☆☆☆　接続先：")));
        QVERIFY(lines[1].endsWith(QStringLiteral("　☆☆☆")));
        QVERIFY(!lines[1].contains("127.0.0.1") && !lines[1].contains("::1"));
    }

    // On both screens the server's stones are green and the client's blue.
    void clientSwapsTheStoneColours() {
        Player client;
        client.Join("taro", UnusedPort());
        for (int i = 0; i < kStoneCount; ++i) {
            QCOMPARE(ImageOf(client.window->Mystone[i]->Picture()), BitmapImage(bitmap::kBlue));
            QCOMPARE(ImageOf(client.window->Yourstone[i]->Picture()), BitmapImage(bitmap::kGreen));
        }
    }

    void refusedConnectionShowsTheErrorOnly() {
        Player client;
        client.Join("taro", UnusedPort());
        QTRY_COMPARE(client.Lines(), QStringList({kConnecting, QStringLiteral("接続が拒否されました")}));
        QVERIFY(client.window->RecieveList->selectedItems().isEmpty());
        QCOMPARE(client.window->Mystone[0]->pos(), QPoint(40, 225));
        // The flag is still set, but focus coming back connects nothing again.
        QVERIFY(client.session.settings.ConnectAccepted);
        client.window->Form_Activate();
        QTest::qWait(100);
        QCOMPARE(client.Lines().size(), 2);
        QCOMPARE(client.window->Winsock->GetState(), Winsock::State::Closed);
    }

    void activationWhileConnectingDoesNotConnectAgain() {
        Player server;
        server.Serve("sv");
        Player client;
        client.Join("cl", server.Port());
        client.window->Form_Activate();
        QTRY_COMPARE(client.window->Rival->text(), QStringLiteral("sv"));
        QCOMPARE(client.Lines().count(kConnecting), 1);
        QCOMPARE(WithoutAddressLine(server.Lines()).count(kAccepted), 1);
    }

    void portInUseIsReportedNotFatal() {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::Any, 0));
        Player server;
        server.Serve("sv", holder.serverPort());
        const QString inUse = QStringLiteral("ポート%1は既に使用されています").arg(holder.serverPort());
        QTRY_COMPARE(server.Lines(), QStringList({kListening, inUse}));
        QCOMPARE(server.window->Winsock->GetState(), Winsock::State::Closed);
    }

    void disconnectionLineIsSelected() {
        Player server;
        auto client = std::make_unique<Player>();
        QVERIFY(ConnectPair(server, *client));
        client->window->close();
        QTRY_COMPARE(server.LastLine(), kDisconnected);
        QVERIFY(server.LastLineSelected());
        QCOMPARE(server.window->Winsock->GetState(), Winsock::State::Closed);
        QCOMPARE(server.window->Rival->text(), QStringLiteral("cl"));
    }

    // A button pressed without a connection says so once and sends nothing.
    void actionsWithoutAConnection() {
        Player alone;
        alone.Load();
        alone.window->WinNum->setText("3");
        QTest::mouseClick(alone.window->Reset, Qt::LeftButton);
        QCOMPARE(alone.window->WinNum->text(), QStringLiteral("0"));
        QCOMPARE(alone.Lines(), QStringList({kNotConnected}));
        QTest::mouseClick(alone.window->StartGame, Qt::LeftButton);
        QCOMPARE(alone.Lines(), QStringList({kNotConnected, kNotConnected}));
        QVERIFY(!alone.window->StartSequenceRunning());
        QVERIFY(!alone.window->Mystone[0]->isEnabled());
        QTest::keyClicks(alone.window->TSend, "hello");
        QTest::keyClick(alone.window->TSend, Qt::Key_Return);
        QCOMPARE(alone.Lines().size(), 3);
        QCOMPARE(alone.window->TSend->text(), QStringLiteral("hello"));
    }

    void closingWindowsDuringTheStartAnimation_data() {
        QTest::addColumn<bool>("closeStarter");
        QTest::newRow("the starter closes") << true;
        QTest::newRow("the receiver closes") << false;
    }

    void closingWindowsDuringTheStartAnimation() {
        QFETCH(bool, closeStarter);
        auto server = std::make_unique<Player>();
        auto client = std::make_unique<Player>();
        QVERIFY(ConnectPair(*server, *client));
        Player& closer = closeStarter ? *server : *client;
        Player& stayer = closeStarter ? *client : *server;
        QTimer::singleShot(25, closer.window.get(), [&] { closer.window->close(); });
        QTest::mouseClick(server->window->StartGame, Qt::LeftButton);
        QTRY_VERIFY(stayer.Lines().contains(kDisconnected));
        QTRY_VERIFY(!closer.window->StartSequenceRunning());
        QCOMPARE(closer.window->Winsock->GetState(), Winsock::State::Closed);
        QVERIFY(!closer.Lines().contains(kFirst));
        QVERIFY(!closer.Lines().contains(kSecond));
    }
};

QTEST_MAIN(ConnectionTest)
#include "test_connection.moc"
