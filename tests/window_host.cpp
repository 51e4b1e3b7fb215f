// A game window for the tests that run in network namespaces, printing each
// line of its message list as it appears, and ending on SIGTERM the way the
// program does.
//
//   window_host serve NICKNAME PORT [CHECK_MS LEASE_SECONDS]
//     serves on PORT with the home router asked to forward it; CHECK_MS and
//     LEASE_SECONDS replace how often the mapping is checked and how long
//     it is asked for, so that restarts and leases play out in seconds.
//   window_host join NICKNAME GAME
//     opens the connection dialog as a client, waits until the game GAME is
//     listed among those found on the local network, picks it and presses
//     ＯＫ; prints "found ENTRY" with the milliseconds it took, and "rival
//     NAME" once the rival has answered.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "support/window_test.h"
#include "ui/quit_signals.h"

using namespace torvane;

namespace {

void print(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// The real timing, or CHECK_MS and LEASE_SECONDS in its place.
std::optional<PortMapTiming> timingOf(const QStringList& arguments) {
    PortMapTiming timing;
    if (arguments.size() == 4) return timing;
    bool checkIsNumber = false, leaseIsNumber = false;
    timing.check = std::chrono::milliseconds(arguments.value(4).toInt(&checkIsNumber));
    timing.leaseSeconds = arguments.value(5).toUInt(&leaseIsNumber);
    if (arguments.size() != 6 || !checkIsNumber || !leaseIsNumber) return std::nullopt;
    return timing;
}

// Picks the game `name` once the dialog lists it, and joins it.
void joinWhenListed(testing::Player& player, const QString& name, QTimer& poll) {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    ConnectionDialog* dialog = player.window->dialog();
    if (!dialog) return;
    QComboBox* hosts = dialog->form().hostBox;
    const int index = hosts->findText(name + "（", Qt::MatchStartsWith);
    if (index < 0) return;
    print(QString("found %1 %2").arg(hosts->itemText(index)).arg(clock.elapsed()));
    poll.stop();
    emit hosts->activated(index);
    dialog->form().okButton->click();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool serve = arguments.value(1) == "serve";
    bool portIsNumber = false;
    const quint16 port = arguments.value(3).toUShort(&portIsNumber);
    const std::optional<PortMapTiming> timing = timingOf(arguments);
    if (!(serve && portIsNumber && timing) && !(arguments.value(1) == "join" && arguments.size() == 4)) {
        std::fprintf(stderr,
                     "usage: window_host serve NICKNAME PORT [CHECK_MS LEASE_SECONDS]\n"
                     "       window_host join NICKNAME GAME\n");
        return 2;
    }
    QuitSignals quitSignals;
    GameOptions options;
    options.forwardPort = true;
    if (timing) options.routerTiming = *timing;
    testing::Player player(options);
    QTimer poll;
    if (serve) {
        player.serve(arguments[2], port);
    } else {
        player.load(ConnectionSettings::Role::Client);
        player.window->dialog()->form().nameEdit->setText(arguments[2]);
        QObject::connect(&poll, &QTimer::timeout, [&] { joinWhenListed(player, arguments[3], poll); });
        poll.start(20);
    }
    int shown = 0;
    QString rival = player.form().rivalName->text();
    QTimer lines;
    QObject::connect(&lines, &QTimer::timeout, [&] {
        for (const QStringList all = player.lines(); shown < all.size(); ++shown) print(all[shown]);
        if (player.form().rivalName->text() != rival) print("rival " + (rival = player.form().rivalName->text()));
    });
    lines.start(20);
    return QApplication::exec();
}
