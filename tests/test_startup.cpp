// Start-up: the command line of both programs, the position and state
// before the first game, and the refusal to start without the bitmaps.

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "project_info.h"
#include "support/player.h"
#include "support/probes.h"
#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/picture_box.h"

using namespace torvane;
using namespace torvane::testing;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void positionAndStateAfterStartup() {
        Player player;
        player.Load();
        Main& main = *player.window;
        const std::array<QPoint, 3> mine = {QPoint(40, 225), QPoint(132, 225), QPoint(225, 225)};
        const std::array<QPoint, 3> yours = {QPoint(225, 40), QPoint(132, 40), QPoint(40, 40)};
        for (int i = 0; i < kStoneCount; ++i) {
            QCOMPARE(main.Mystone[i]->pos(), mine[i]);
            QCOMPARE(main.Yourstone[i]->pos(), yours[i]);
            QVERIFY(!main.Mystone[i]->isEnabled());
            QVERIFY(!main.Yourstone[i]->isEnabled());
            QCOMPARE(ImageOf(main.Mystone[i]->Picture()), BitmapImage(bitmap::kGreen));
            QCOMPARE(ImageOf(main.Yourstone[i]->Picture()), BitmapImage(bitmap::kBlue));
        }
        QCOMPARE(ImageOf(main.Board->Picture()), BitmapImage(bitmap::kBoard));
        const std::array<bool, 9> empty = {false, false, false, true, true, true, false, false, false};
        QCOMPARE(player.window->Model().PointEmpty(), empty);
        QVERIFY(main.StartP->isHidden());
        QVERIFY(main.StartGame->isEnabled() && main.Reset->isEnabled());
        QCOMPARE(main.RecieveList->count(), 0);
        QVERIFY(main.TSend->text().isEmpty());
        QCOMPARE(main.OneSelf->text(), QStringLiteral("自分"));
        QCOMPARE(main.Rival->text(), QStringLiteral("相手"));
        QVERIFY(!player.session.settings.ConnectAccepted);
    }

    void dialogOpensOverTheVisibleMainWindow() {
        Player player;
        player.Load();
        Main& main = *player.window;
        ConnectForm* dialog = main.Dialog();
        QVERIFY(main.isVisible());
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QVERIFY(qAbs(dialog->frameGeometry().center().x() - main.frameGeometry().center().x()) <= 1);
        QVERIFY(qAbs(dialog->frameGeometry().center().y() - main.frameGeometry().center().y()) <= 1);
        QVERIFY(dialog->OptS->isChecked() && !dialog->OptC->isChecked());
        QVERIFY(player.session.settings.IsServer);
        QCOMPARE(dialog->Host->text(), QStringLiteral("自分のパソコン"));
        QVERIFY(!dialog->Host->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(QApplication::focusWidget(), dialog->Handle);
    }

    // Pressing on a stone before any game moves nothing: every stone is off.
    void stonesIgnoreTheMouseBeforeAGame() {
        Player player;
        player.Load();
        PictureBox* stone = player.window->Mystone[1];
        QTest::mousePress(stone, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(stone, QPoint(30, -60));
        QTest::mouseRelease(stone, Qt::LeftButton, {}, QPoint(30, -60));
        QCOMPARE(stone->pos(), QPoint(132, 225));
        QVERIFY(player.prompter.shown.isEmpty());
    }

    // Activating the main window before the dialog is accepted starts nothing.
    void activationWithoutTheDialogStartsNothing() {
        Player player;
        player.Load();
        player.window->activateWindow();
        player.window->Form_Activate();
        QCOMPARE(player.window->RecieveList->count(), 0);
        QCOMPARE(player.window->Winsock->GetState(), Winsock::State::Closed);
    }

    void bitmapProblems_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");  // empty: the file is missing
        QTest::newRow("green stone missing") << "green.bmp" << QByteArray();
        QTest::newRow("board missing") << "3by3box.bmp" << QByteArray();
        QTest::newRow("lose banner missing") << "lose.bmp" << QByteArray();
        QTest::newRow("start banner not a bitmap") << "start.bmp" << QByteArray("not a picture");
    }

    // The program copied into a folder of its own, with one bitmap bad.
    void bitmapProblems() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        QProcess process;
        StartCopy(folder, process, file, content);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        const QString error = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(error.contains(folder.filePath(file)), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("画像ファイルを読み込めません")), qPrintable(error));
    }

    // With every bitmap in place the same copy keeps running.
    void completeFolderStarts() {
        QTemporaryDir folder;
        QProcess process;
        StartCopy(folder, process, QString(), QByteArray());
        QVERIFY(process.waitForStarted());
        QVERIFY(!process.waitForFinished(1500));
        process.kill();
        process.waitForFinished();
    }

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
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationDirPath() + "/" + program, arguments);
        QVERIFY(process.waitForFinished(20000));
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString error = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), status);
        QVERIFY2((status == 0 ? out : error).contains(output), qPrintable(out + error));
        QVERIFY2(status == 0 ? error.isEmpty() : out.isEmpty() && error.contains("--help"), qPrintable(out + error));
    }

private:
    // Copies the game and its bitmaps into `folder`, `bad` left out (or
    // written with `content`), and starts the copy headless.
    static void StartCopy(QTemporaryDir& folder, QProcess& process, const QString& bad, const QByteArray& content) {
        QVERIFY(folder.isValid());
        const QString program = folder.filePath("torvane");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/torvane", program));
        for (const QString& name : bitmap::kAll) {
            if (name != bad) QVERIFY(QFile::copy(bitmap::PathOf(name), folder.filePath(name)));
        }
        if (!content.isEmpty()) {
            QFile file(folder.filePath(bad));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(program, {});
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
