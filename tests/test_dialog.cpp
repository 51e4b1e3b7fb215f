// The connection dialog: roles, the checks on OK and what it stores.

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "support/player.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

// The role chosen in the dialog.
constexpr int kServer = 0;
constexpr int kClient = 1;
constexpr int kComputer = 2;

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Player> player;
    ConnectForm* dialog = nullptr;

    void Fill(int role, const QString& name, const QString& port, const QString& host) {
        if (role == kClient) QTest::mouseClick(dialog->OptC, Qt::LeftButton);
        if (role == kComputer) QTest::mouseClick(dialog->OptCpu, Qt::LeftButton);
        dialog->Handle->setText(name);
        dialog->Port->setText(port);
        if (role == kClient) dialog->Host->setText(host);
    }

private slots:
    void init() {
        player = std::make_unique<Player>();
        player->Load();
        dialog = player->window->Dialog();
        QVERIFY(dialog);
    }

    void cleanup() { player.reset(); }

    void switchingRolesResetsTheHost() {
        QStringList seen;
        QList<bool> servers;
        QList<bool> computers;
        for (QRadioButton* option : {dialog->OptC, dialog->OptS, dialog->OptCpu, dialog->OptC}) {
            QTest::mouseClick(option, Qt::LeftButton);
            seen << dialog->Host->text();
            servers << player->session.settings.IsServer;
            computers << player->session.settings.VsComputer;
            for (QRadioButton* other : {dialog->OptS, dialog->OptC, dialog->OptCpu}) {
                QCOMPARE(other->isChecked(), option == other);
            }
            QCOMPARE(dialog->Host->isEnabled(), option == dialog->OptC);
            QCOMPARE(dialog->Port->isEnabled(), option != dialog->OptCpu);
            if (option == dialog->OptC) dialog->Host->setText("typed.example");
        }
        QCOMPARE(seen, QStringList({"127.0.0.1", "自分のパソコン", "このパソコン", "127.0.0.1"}));
        QCOMPARE(servers, QList<bool>({false, true, false, false}));
        QCOMPARE(computers, QList<bool>({false, false, true, false}));
    }

    void checks_data() {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("message");  // empty: accepted
        QTest::newRow("server, no name") << kServer << ""
                                         << "9898"
                                         << ""
                                         << "ニックネームを入力して下さい！";
        QTest::newRow("client, nothing at all") << kClient << ""
                                                << ""
                                                << ""
                                                << "ニックネームを入力して下さい！";
        QTest::newRow("client, port and host empty") << kClient << "taro"
                                                     << ""
                                                     << ""
                                                     << "ポートを入力して下さい！";
        QTest::newRow("client, host empty") << kClient << "taro"
                                            << "9898"
                                            << ""
                                            << "接続先を入力して下さい！";
        QTest::newRow("client, host empty and port bad") << kClient << "taro"
                                                         << "x"
                                                         << ""
                                                         << "接続先を入力して下さい！";
        QTest::newRow("port letters") << kServer << "taro"
                                      << "98a"
                                      << ""
                                      << "ポートには1～65535の数字を入力して下さい！";
        QTest::newRow("port zero") << kServer << "taro"
                                   << "0"
                                   << ""
                                   << "ポートには1～65535の数字を入力して下さい！";
        QTest::newRow("port too big") << kServer << "taro"
                                      << "65536"
                                      << ""
                                      << "ポートには1～65535の数字を入力して下さい！";
        QTest::newRow("port negative") << kServer << "taro"
                                       << "-1"
                                       << ""
                                       << "ポートには1～65535の数字を入力して下さい！";
        QTest::newRow("port only spaces") << kClient << "taro"
                                          << "  "
                                          << "h"
                                          << "ポートには1～65535の数字を入力して下さい！";
        QTest::newRow("port with spaces around") << kServer << "taro"
                                                 << " 9898 "
                                                 << ""
                                                 << "";
        QTest::newRow("highest port") << kClient << "taro"
                                      << "65535"
                                      << "h"
                                      << "";
        QTest::newRow("server ignores the host box") << kServer << "taro"
                                                     << "9898"
                                                     << ""
                                                     << "";
        QTest::newRow("computer, no name") << kComputer << ""
                                           << "x"
                                           << ""
                                           << "ニックネームを入力して下さい！";
        QTest::newRow("computer needs no port") << kComputer << "taro"
                                                << ""
                                                << ""
                                                << "";
        QTest::newRow("nickname of spaces") << kServer << "   "
                                            << "1"
                                            << ""
                                            << "";
    }

    // The first failing check shows its box; nothing is stored until all pass.
    void checks() {
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, port);
        QFETCH(QString, host);
        QFETCH(QString, message);
        Fill(role, name, port, host);
        QTest::mouseClick(dialog->OK, Qt::LeftButton);
        const ConnectionSettings& settings = player->session.settings;
        if (!message.isEmpty()) {
            QCOMPARE(player->prompter.shown.size(), 1);
            QCOMPARE(player->prompter.shown[0].kind, QStringLiteral("critical"));
            QCOMPARE(player->prompter.shown[0].title, QStringLiteral("入力エラー"));
            QCOMPARE(player->prompter.shown[0].text, message);
            QVERIFY(dialog->isVisible());
            QVERIFY(!settings.ConnectAccepted);
            QVERIFY(settings.NickName.isEmpty() && settings.PortText.isEmpty() && settings.HostText.isEmpty());
            return;
        }
        QVERIFY(player->prompter.shown.isEmpty());
        QCOMPARE(settings.NickName, name);
        QCOMPARE(settings.IsServer, role == kServer);
        QCOMPARE(settings.VsComputer, role == kComputer);
        if (role == kComputer) {
            // The window joins the computer it started on this machine.
            QCOMPARE(settings.HostText, QStringLiteral("127.0.0.1"));
            QTRY_COMPARE(player->window->Rival->text(), QStringLiteral("コンピュータ"));
        } else {
            QCOMPARE(settings.PortText, port);
            QCOMPARE(settings.HostText, role == kClient ? host : QString());
        }
        QVERIFY(QTest::qWaitFor([&] { return player->window->Dialog() == nullptr; }));
        // The hand-over started networking and used up the flag.
        QVERIFY(player->window->RecieveList->count() > 0);
    }

    void theHostMessageFollowsOnceThePortIsFilled() {
        Fill(kClient, "taro", "", "");
        QTest::mouseClick(dialog->OK, Qt::LeftButton);
        dialog->Port->setText("9898");
        QTest::mouseClick(dialog->OK, Qt::LeftButton);
        QCOMPARE(player->prompter.shown.size(), 2);
        QCOMPARE(player->prompter.shown[0].text, QStringLiteral("ポートを入力して下さい！"));
        QCOMPARE(player->prompter.shown[1].text, QStringLiteral("接続先を入力して下さい！"));
    }

    void enterAndEscapeDoNothing() {
        Fill(kServer, "taro", "9898", "");
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        for (QWidget* target : {static_cast<QWidget*>(dialog->Handle), static_cast<QWidget*>(dialog->Port)}) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter);
            QTest::keyClick(target, Qt::Key_Escape);
        }
        QVERIFY(dialog->isVisible());
        QVERIFY(!player->session.settings.ConnectAccepted);
        QVERIFY(player->window->isVisible());
    }

    void cancelEndsTheProgramEvenWhenFilled() {
        Fill(kClient, "taro", "9898", "example.org");
        QSignalSpy cancelled(dialog, &ConnectForm::Cancelled);
        QTest::mouseClick(dialog->Cancel, Qt::LeftButton);
        QCOMPARE(cancelled.size(), 1);
        QVERIFY(!player->window->isVisible());
        QVERIFY(!player->session.settings.ConnectAccepted);
        QVERIFY(QTest::qWaitFor([&] { return player->window->Dialog() == nullptr; }));
    }

    // Closed by its title bar, the dialog leaves an idle main window.
    void closingTheDialogLeavesTheMainWindowIdle() {
        dialog->Handle->setText("taro");
        dialog->close();
        QVERIFY(QTest::qWaitFor([&] { return player->window->Dialog() == nullptr; }));
        QVERIFY(player->window->isVisible());
        player->window->Form_Activate();
        QCOMPARE(player->window->RecieveList->count(), 0);
        QCOMPARE(player->window->Winsock->GetState(), Winsock::State::Closed);
    }

    // The real message box: modal, critical icon, one OK button, the text.
    void realMessageBoxIsModalWithOneButton() {
        MessageBoxPrompter real;
        QString seenText;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        int buttons = 0;
        bool modal = false;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seenText = box->text();
            seenIcon = box->icon();
            buttons = box->buttons().size();
            modal = box->isModal();
            box->button(QMessageBox::Ok)->click();
        });
        real.Critical(dialog, "入力エラー", "ポートを入力して下さい！");
        QCOMPARE(seenText, QStringLiteral("ポートを入力して下さい！"));
        QCOMPARE(seenIcon, QMessageBox::Critical);
        QCOMPARE(buttons, 1);
        QVERIFY(modal);
    }
};

QTEST_MAIN(DialogTest)
#include "test_dialog.moc"
