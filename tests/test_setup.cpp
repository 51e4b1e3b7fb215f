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
int Run(QProcess& process, const QString& program, const QStringList& arguments, QProcessEnvironment env,
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

    const Ui::ConnectionDialog& D() const { return dialog->Form(); }

    static void Check(const char* row, Role role, const QString& name, const QString& port, const QString& host,
                      const QString& box) {
        QTest::newRow(row) << int(role) << name << port << host << box;
    }

private slots:
    void init() {
        player = std::make_unique<Player>();
        player->Load();
        dialog = player->window->Dialog();
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
        QTest::newRow("stray argument") << game << QStringList{"stray"} << 2 << "'stray'";
        QTest::newRow("computer help") << cpu << QStringList{"-h"} << 0 << "--starts";
        QTest::newRow("computer version") << cpu << QStringList{"-v"} << 0 << "torvane-cpu " TORVANE_VERSION;
        QTest::newRow("computer unknown option") << cpu << QStringList{"--solve", "--bogus"} << 2 << "'bogus'";
        QTest::newRow("computer level out of range") << cpu << QStringList{"--solve", "--level=6"} << 2 << "--level";
        QTest::newRow("computer without a mode") << cpu << QStringList{} << 2 << "exactly one";
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
        QCOMPARE(Run(process, QCoreApplication::applicationDirPath() + "/" + program, arguments, env), status);
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString error = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2((status == 0 ? out : error).contains(output), qPrintable(out + error));
        QVERIFY2(status == 0 ? error.isEmpty() : out.isEmpty() && error.contains("--help"), qPrintable(out + error));
    }

    void bitmaps_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");  // empty: the file is missing
        QTest::newRow("all in place") << QString() << QByteArray();
        QTest::newRow("green stone missing") << QString("green.bmp") << QByteArray();
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
            if (name != file) QVERIFY(QFile::copy(bitmap::PathOf(name), folder.filePath(name)));
        }
        QFile bad(folder.filePath(file));
        if (!content.isEmpty()) QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(content) > 0);
        bad.close();
        QProcess process;
        const int status =
            Run(process, program, {}, QProcessEnvironment::systemEnvironment(), file.isEmpty() ? 1000 : 20000);
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
            QCOMPARE(PointOf(main.Own(i)), 6 + i);
            QCOMPARE(PointOf(main.Rival(i)), 2 - i);
            QVERIFY(!main.Own(i)->isEnabled() && !main.Rival(i)->isEnabled());
            QCOMPARE(ImageOf(main.Own(i)->Picture()), BitmapImage(bitmap::kGreen));
            QCOMPARE(ImageOf(main.Rival(i)->Picture()), BitmapImage(bitmap::kBlue));
        }
        QCOMPARE(ImageOf(main.Board().Picture()), BitmapImage(bitmap::kBoard));
        QCOMPARE(main.Game().Board().PointEmpty(), kStartEmpty);
        QVERIFY(main.Board().BannerBox()->isHidden() && main.Form().startButton->isEnabled() &&
                main.Form().resetButton->isEnabled());
        QCOMPARE(main.Form().ownName->text() + main.Form().rivalName->text(), QStringLiteral("自分相手"));
        QVERIFY(main.window->isVisible() && dialog->isVisible() && !dialog->isModal());
        QVERIFY((dialog->frameGeometry().center() - main.window->frameGeometry().center()).manhattanLength() <= 2);
        QVERIFY(D().serverOption->isChecked());
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(QApplication::focusWidget(), D().nameEdit);
        // Pressing on a stone before any game moves nothing.
        QTest::mousePress(main.Own(1), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(main.Own(1), QPoint(30, -60));
        QTest::mouseRelease(main.Own(1), Qt::LeftButton, {}, QPoint(30, -60));
        QCOMPARE(PointOf(main.Own(1)), 7);
        QVERIFY(player->prompter.shown.isEmpty());
    }

    // Each role sets its own host text and boxes; a typed host is not kept.
    void roles() {
        QStringList seen;
        for (QRadioButton* option : {D().clientOption, D().serverOption, D().computerOption, D().clientOption}) {
            QTest::mouseClick(option, Qt::LeftButton);
            seen << QString("%1 %2 %3")
                        .arg(D().hostEdit->text())
                        .arg(D().hostEdit->isEnabled())
                        .arg(D().portEdit->isEnabled());
            QCOMPARE(D().serverOption->isChecked() + D().clientOption->isChecked() + D().computerOption->isChecked(),
                     1);
            QVERIFY(option->isChecked());
            if (option == D().clientOption) D().hostEdit->setText("typed.example");
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
        Check("server, no name", kServer, "", "9898", "", noName);
        Check("client, nothing at all", kClient, "", "", "", noName);
        Check("client, port and host empty", kClient, "taro", "", "", kInputError + "ポートを入力して下さい！");
        Check("client, host empty", kClient, "taro", "9898", "", noHost);
        Check("client, host empty and port bad", kClient, "taro", "x", "", noHost);
        Check("port letters", kServer, "taro", "98a", "", kBadPort);
        Check("port zero", kServer, "taro", "0", "", kBadPort);
        Check("port too big", kServer, "taro", "65536", "", kBadPort);
        Check("port only spaces", kClient, "taro", "  ", "h", kBadPort);
        Check("port with spaces around", kServer, "taro", " 9898 ", "", "");
        Check("highest port", kClient, "taro", "65535", "h", "");
        Check("computer, no name", kComputer, "", "x", "", noName);
        Check("computer needs no port", kComputer, "taro", "", "", "");
        Check("nickname of spaces", kServer, "   ", "1", "", "");
    }

    // The first failing check shows its box; nothing is stored until all pass.
    void okChecks() {
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, port);
        QFETCH(QString, host);
        QFETCH(QString, box);
        QTest::mouseClick(QList<QRadioButton*>{D().serverOption, D().clientOption, D().computerOption}[role],
                          Qt::LeftButton);
        D().nameEdit->setText(name);
        D().portEdit->setText(port);
        if (role == kClient) D().hostEdit->setText(host);
        QSignalSpy accepted(dialog, &ConnectionDialog::Accepted);
        QTest::mouseClick(D().okButton, Qt::LeftButton);
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
        if (role == kComputer) QTRY_COMPARE(player->Form().rivalName->text(), QStringLiteral("コンピュータ"));
        QTRY_VERIFY(player->window->Dialog() == nullptr);
        // The window has met the rival.
        QVERIFY(player->Form().messageList->count() > 0);
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
            real.Critical(dialog, "title", text);
        } else {
            real.Information(dialog, "title", text, [&] { ++closed; });
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

    void enterAndEscapeDoNothing() {
        D().nameEdit->setText("taro");
        QSignalSpy accepted(dialog, &ConnectionDialog::Accepted);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        for (QWidget* target : {static_cast<QWidget*>(D().nameEdit), static_cast<QWidget*>(D().portEdit)}) {
            target->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(target, key);
        }
        QVERIFY(dialog->isVisible() && player->window->isVisible() && accepted.isEmpty());
    }

    void cancelEndsTheProgramEvenWhenFilled() {
        QTest::mouseClick(D().clientOption, Qt::LeftButton);
        D().nameEdit->setText("taro");
        QSignalSpy cancelled(dialog, &ConnectionDialog::Cancelled);
        QSignalSpy accepted(dialog, &ConnectionDialog::Accepted);
        QTest::mouseClick(D().cancelButton, Qt::LeftButton);
        QCOMPARE(cancelled.size(), 1);
        QVERIFY(!player->window->isVisible() && accepted.isEmpty());
        QTRY_VERIFY(player->window->Dialog() == nullptr);
    }

    // Closed by its title bar, the dialog leaves an idle main window that
    // activation does not wake.
    void closingTheDialogLeavesTheMainWindowIdle() {
        D().nameEdit->setText("taro");
        dialog->close();
        QTRY_VERIFY(player->window->Dialog() == nullptr);
        QVERIFY(player->window->isVisible());
        Activate(*player);
        QCOMPARE(player->Form().messageList->count(), 0);
        QVERIFY(!player->window->Connection().IsConnected() && !player->window->Connection().IsListening());
    }
};

QTEST_MAIN(SetupTest)
#include "test_setup.moc"
