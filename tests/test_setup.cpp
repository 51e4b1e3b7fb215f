// Before the first game: both programs' command lines, the refusal to start
// without the bitmaps, the window as it opens and the connection dialog.

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "project_info.h"
#include "support/window_test.h"
#include "ui/bitmaps.h"
#include "ui/picture_box.h"
#include "ui/prompter.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

enum Role { kServer, kClient, kComputer };
const QString kInputError = QStringLiteral("critical|入力エラー|");
const QString kBadPort = kInputError + "ポートには1～65535の数字を入力して下さい！";

// Runs a program built beside this test and returns its exit code.
int run(QProcess& process, const QString& program, const QStringList& arguments, QProcessEnvironment env,
        int ms = 20000) {
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(ms)) return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
}

}  // namespace

class SetupTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Player> player;
    ConnectionDialog* dialog = nullptr;
    QTemporaryDir configHome;

    const Ui::ConnectionDialog& d() const { return dialog->form(); }

    static void check(const char* row, Role role, const QString& name, const QString& port, const QString& host,
                      const QString& box) {
        QTest::newRow(row) << int(role) << name << port << host << box;
    }

private slots:
    // The user's settings go to a folder of this run's own.
    void initTestCase() {
        QVERIFY(configHome.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    }

    void init() {
        player = std::make_unique<Player>();
        player->load();
        dialog = player->window->dialog();
        QVERIFY(dialog);
    }

    void cleanup() { player.reset(); }

    void commandLine_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");  // on stdout after success, on stderr after an error
        const QString game = QStringLiteral("torvane");
        const QString cpu = QStringLiteral("torvane-cpu");
        QTest::newRow("help") << game << QStringList{"--help"} << 0 << "--computer";
        QTest::newRow("version after the game's and Qt's options")
            << game << QStringList{"--computer", "-style", "fusion", "--version"} << 0 << "torvane " TORVANE_VERSION;
        QTest::newRow("unknown option") << game << QStringList{"--bogus"} << 2 << "'bogus'";
        QTest::newRow("no display") << game << QStringList{} << 1 << "no display";
        QTest::newRow("stray argument") << game << QStringList{"stray"} << 2 << "'stray'";
        QTest::newRow("computer version") << cpu << QStringList{"-v"} << 0 << "torvane-cpu " TORVANE_VERSION;
        QTest::newRow("computer unknown option") << cpu << QStringList{"--solve", "--bogus"} << 2 << "'bogus'";
    }

    // With no display at all: the command line is read before the window
    // system, and every usage error points to --help.
    void commandLine() {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(name);
        QProcess process;
        QCOMPARE(run(process, QCoreApplication::applicationDirPath() + "/" + program, arguments, env), status);
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString error = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2((status == 0 ? out : error).contains(output), qPrintable(out + error));
        QVERIFY2(status == 0 ? error.isEmpty() : out.isEmpty() && (status != 2 || error.contains("--help")),
                 qPrintable(out + error));
    }

    void bitmaps_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");  // empty: the file is missing
        QTest::newRow("all in place") << QString() << QByteArray();
        QTest::newRow("board missing") << QString("3by3box.bmp") << QByteArray();
        QTest::newRow("start banner not a bitmap") << QString("start.bmp") << QByteArray("not a picture");
    }

    // The program copied into a folder of its own with one bitmap bad ends
    // at once naming it; with all in place it keeps running.
    void bitmaps() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const QString program = folder.filePath("torvane");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/torvane", program));
        for (const QString& name : bitmap::kAll) {
            if (name != file) QVERIFY(QFile::copy(bitmap::pathOf(name), folder.filePath(name)));
        }
        QFile bad(folder.filePath(file));
        if (!content.isEmpty()) QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(content) > 0);
        bad.close();
        QProcess process;
        const int status =
            run(process, program, {}, QProcessEnvironment::systemEnvironment(), file.isEmpty() ? 1000 : 20000);
        const QString error = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(status, file.isEmpty() ? -1 : 1);
        if (file.isEmpty()) {
            process.kill();
            process.waitForFinished();
            return;
        }
        QVERIFY2(error.contains(folder.filePath(file)) && error.contains("画像ファイルを読み込めません"),
                 qPrintable(error));
    }

    // The position, the idle window and the dialog centred over it.
    void openingState() {
        Player& main = *player;
        for (int i = 0; i < kStoneCount; ++i) {
            QCOMPARE(pointOf(main.own(i)), 6 + i);
            QCOMPARE(pointOf(main.rival(i)), 2 - i);
            QVERIFY(!main.own(i)->isEnabled() && !main.rival(i)->isEnabled());
            QCOMPARE(imageOf(main.own(i)->picture()), bitmapImage(bitmap::kGreen));
            QCOMPARE(imageOf(main.rival(i)->picture()), bitmapImage(bitmap::kBlue));
        }
        QCOMPARE(imageOf(main.board().picture()), bitmapImage(bitmap::kBoard));
        QCOMPARE(main.game().board().pointEmpty(), kStartEmpty);
        QVERIFY(main.board().bannerBox()->isHidden() && main.form().startButton->isEnabled() &&
                main.form().resetButton->isEnabled());
        QCOMPARE(main.form().ownName->text() + main.form().rivalName->text(), QStringLiteral("自分相手"));
        QVERIFY(main.window->isVisible() && dialog->isVisible() && !dialog->isModal());
        QVERIFY((dialog->frameGeometry().center() - main.window->frameGeometry().center()).manhattanLength() <= 2);
        QVERIFY(d().serverOption->isChecked());
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(QApplication::focusWidget(), d().nameEdit);
    }

    // Each role sets its own host text and boxes; a typed host is not kept.
    void roles() {
        QStringList seen;
        for (QRadioButton* option : {d().clientOption, d().serverOption, d().computerOption, d().clientOption}) {
            QTest::mouseClick(option, Qt::LeftButton);
            seen << QString("%1 %2 %3")
                        .arg(d().hostBox->currentText())
                        .arg(d().hostBox->isEnabled())
                        .arg(d().portEdit->isEnabled());
            QCOMPARE(d().serverOption->isChecked() + d().clientOption->isChecked() + d().computerOption->isChecked(),
                     1);
            QVERIFY(option->isChecked());
            if (option == d().clientOption) d().hostBox->setEditText("typed.example");
        }
        QCOMPARE(seen, QStringList({"127.0.0.1 1 1", "自分のパソコン 0 1", "このパソコン 0 0", "127.0.0.1 1 1"}));
    }

    void okChecks_data() {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("box");  // empty: accepted
        const QString noName = kInputError + "ニックネームを入力して下さい！";
        const QString noHost = kInputError + "接続先を入力して下さい！";
        check("server, no name", kServer, "", "9898", "", noName);
        check("client, nothing at all", kClient, "", "", "", noName);
        check("client, port and host empty", kClient, "taro", "", "", kInputError + "ポートを入力して下さい！");
        check("client, host empty", kClient, "taro", "9898", "", noHost);
        check("port letters", kServer, "taro", "98a", "", kBadPort);
        check("port zero", kServer, "taro", "0", "", kBadPort);
        check("port too big", kServer, "taro", "65536", "", kBadPort);
        check("port with spaces around", kServer, "taro", " 9898 ", "", "");
        check("highest port", kClient, "taro", "65535", "h", "");
        check("computer, no name", kComputer, "", "x", "", noName);
        check("computer needs no port", kComputer, "taro", "", "", "");
        check("nickname of spaces", kServer, "   ", "1", "", "");
    }

    // The first failing check shows its box; nothing is stored until all pass.
    void okChecks() {
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, port);
        QFETCH(QString, host);
        QFETCH(QString, box);
        QTest::mouseClick(QList<QRadioButton*>{d().serverOption, d().clientOption, d().computerOption}[role],
                          Qt::LeftButton);
        d().nameEdit->setText(name);
        d().portEdit->setText(port);
        if (role == kClient) d().hostBox->setEditText(host);
        QSignalSpy accepted(dialog, &ConnectionDialog::accepted);
        QTest::mouseClick(d().okButton, Qt::LeftButton);
        QCOMPARE(player->prompter.shown, box.isEmpty() ? QStringList() : QStringList{box});
        if (!box.isEmpty()) {
            QVERIFY(dialog->isVisible() && accepted.isEmpty());
            return;
        }
        QCOMPARE(accepted.size(), 1);
        const auto settings = accepted.first().first().value<ConnectionSettings>();
        QCOMPARE(settings.nickName, name);
        QCOMPARE(int(settings.role), role);
        QCOMPARE(settings.host, role == kClient ? host : QString());
        if (role != kComputer) QCOMPARE(settings.port, port.trimmed().toUShort());
        if (role == kComputer) QTRY_COMPARE(player->form().rivalName->text(), QStringLiteral("コンピュータ"));
        QTRY_VERIFY(player->window->dialog() == nullptr);
        // The window has met the rival.
        QVERIFY(player->form().messageList->count() > 0);
    }

    void realMessageBoxes_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        QTest::newRow("critical") << int(QMessageBox::Critical) << QStringLiteral("ポートを入力して下さい！");
        QTest::newRow("information") << int(QMessageBox::Information) << QStringLiteral("そこには置けません");
    }

    // The program's own boxes: modal to their window, one OK button, and
    // no loop of their own, so the call returns while the box is up.
    void realMessageBoxes() {
        QFETCH(int, icon);
        QFETCH(QString, text);
        MessageBoxPrompter real;
        int closed = 0;
        if (icon == QMessageBox::Critical) {
            real.critical(dialog, "title", text);
        } else {
            real.information(dialog, "title", text, [&] { ++closed; });
        }
        auto* box = dialog->findChild<QMessageBox*>();
        QVERIFY(box && box->isVisible() && box->isModal());
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!dialog->findChild<QMessageBox*>());
        QCOMPARE(closed, int(icon == QMessageBox::Information));
    }

    void enterPressesOk_data() {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("accepted");  // the name is filled in
        QTest::newRow("Escape does nothing") << int(kServer) << "port" << false;
        QTest::newRow("Enter in the host") << int(kClient) << "host" << true;
        QTest::newRow("Enter in the port") << int(kClient) << "port" << true;
    }

    // ＯＫ is the default button; Escape leaves the dialog as it is.
    void enterPressesOk() {
        QFETCH(int, role);
        QFETCH(QString, box);
        QFETCH(bool, accepted);
        QTest::mouseClick(role == kClient ? d().clientOption : d().serverOption, Qt::LeftButton);
        d().nameEdit->setText("taro");
        QVERIFY(d().okButton->isDefault());
        QSignalSpy spy(dialog, &ConnectionDialog::accepted);
        QLineEdit* target = box == "name" ? d().nameEdit : box == "host" ? d().hostBox->lineEdit() : d().portEdit;
        QTest::keyClick(target, accepted ? Qt::Key_Return : Qt::Key_Escape);
        QCOMPARE(spy.size(), int(accepted));
        QCOMPARE(dialog->isVisible(), !accepted);
    }

    // What led to a connection is there the next run: the nickname, the
    // role, the port and the host, in the user's settings; a host joined
    // twice is listed once.
    void rememberedForTheNextRun() {
        GameOptions options;
        options.remember = true;
        quint16 port = 0;
        for (int run = 0; run < 3; ++run) {
            Player joining(options);
            joining.load();
            const Ui::ConnectionDialog& form = joining.window->dialog()->form();
            if (run == 2) {
                const QAbstractItemModel* hosts = form.hostBox->model();
                const qsizetype listed = hosts->match(hosts->index(0, 0), Qt::DisplayRole, "127.0.0.1", -1).size();
                QCOMPARE(QStringList({form.nameEdit->text(), form.hostBox->currentText(), form.portEdit->text()}),
                         QStringList({"taro", "127.0.0.1", QString::number(port)}));
                QCOMPARE(listed, 1);
                QVERIFY(form.clientOption->isChecked() && form.hostBox->isEnabled());
                break;
            }
            Player server;
            server.serve("sv");
            port = server.port();
            QTest::mouseClick(form.clientOption, Qt::LeftButton);
            form.nameEdit->setText("taro");
            form.portEdit->setText(QString::number(port));
            QTest::mouseClick(form.okButton, Qt::LeftButton);
            QTRY_COMPARE(joining.form().rivalName->text(), QStringLiteral("sv"));
        }
        QVERIFY(QFile::exists(configHome.filePath("torvane/torvane.conf")));
    }

    void leavingTheDialog_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("Cancel ends the program, even filled in") << true;
        QTest::newRow("closed by its title bar") << false;
    }

    // No rival is met. Cancel closes the game window too; closed by its
    // title bar, the dialog leaves the window idle, and activation does not
    // wake it.
    void leavingTheDialog() {
        QFETCH(bool, cancel);
        QTest::mouseClick(d().clientOption, Qt::LeftButton);
        d().nameEdit->setText("taro");
        QSignalSpy accepted(dialog, &ConnectionDialog::accepted);
        if (cancel) {
            QTest::mouseClick(d().cancelButton, Qt::LeftButton);
        } else {
            dialog->close();
            activate(*player);
        }
        QTRY_VERIFY(player->window->dialog() == nullptr);
        QCOMPARE(player->window->isVisible(), !cancel);
        QVERIFY(accepted.isEmpty() && player->form().messageList->count() == 0);
        QVERIFY(!player->window->connection().isConnected() && !player->window->connection().isListening());
    }
};

QTEST_MAIN(SetupTest)
#include "test_setup.moc"
