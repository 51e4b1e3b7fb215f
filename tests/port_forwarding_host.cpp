// The game as server for port_forwarding_test.sh, run on the inside host
// behind a router: serves as NICKNAME on PORT with the router asked to
// forward the port, prints each line of its message list as it appears, and
// ends on SIGTERM the way the program does. CHECK_MS and LEASE_SECONDS, if
// given, replace how often the mapping is checked and how long it is asked
// for, so that restarts and leases play out in seconds.

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "support/window_test.h"
#include "ui/quit_signals.h"

using namespace torvane;

namespace {

// Prints the lines from `shown` on; returns how many there are now.
int printNewLines(const testing::Player& player, int shown) {
    const QStringList lines = player.lines();
    for (; shown < lines.size(); ++shown) std::printf("%s\n", lines[shown].toUtf8().constData());
    std::fflush(stdout);
    return shown;
}

// The real timing, or CHECK_MS and LEASE_SECONDS in its place.
std::optional<PortMapTiming> timingOf(const QStringList& arguments) {
    PortMapTiming timing;
    if (arguments.size() == 3) return timing;
    bool checkIsNumber = false, leaseIsNumber = false;
    timing.check = std::chrono::milliseconds(arguments.value(3).toInt(&checkIsNumber));
    timing.leaseSeconds = arguments.value(4).toUInt(&leaseIsNumber);
    if (arguments.size() != 5 || !checkIsNumber || !leaseIsNumber) return std::nullopt;
    return timing;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool portIsNumber = false;
    const quint16 port = arguments.value(2).toUShort(&portIsNumber);
    const std::optional<PortMapTiming> timing = timingOf(arguments);
    if (!portIsNumber || !timing) {
        std::fprintf(stderr, "usage: port_forwarding_host NICKNAME PORT [CHECK_MS LEASE_SECONDS]\n");
        return 2;
    }
    QuitSignals quitSignals;
    GameOptions options;
    options.forwardPort = true;
    options.routerTiming = *timing;
    testing::Player player(options);
    player.serve(arguments[1], port);
    int shown = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { shown = printNewLines(player, shown); });
    poll.start(20);
    const int status = QApplication::exec();
    printNewLines(player, shown);
    return status;
}
