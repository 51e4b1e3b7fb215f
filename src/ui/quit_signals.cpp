#include "ui/quit_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>

namespace torvane {

namespace {

constexpr std::array<int, 2> kQuitSignals = {SIGTERM, SIGINT};
// The pair's write end, for the handler; -1 while none is installed.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;

extern "C" void onQuitSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    if (writeEnd >= 0 && write(writeEnd, &byte, 1) < 0) {
        // The pair is full: a quit is waiting to be read already.
    }
    errno = savedErrno;
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    std::signal(SIGPIPE, SIG_IGN);
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pair) != 0) return;
    readEnd = pair[0];
    writeEnd = pair[1];
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::quit);
    for (int signal : kQuitSignals) handle(signal, onQuitSignal);
}

QuitSignals::~QuitSignals() {
    if (!notifier_) return;
    for (int signal : kQuitSignals) handle(signal, SIG_DFL);
    delete notifier_;
    close(writeEnd);
    close(readEnd);
    writeEnd = -1;
    readEnd = -1;
}

void QuitSignals::quit() {
    char bytes[16];
    while (read(readEnd, bytes, sizeof bytes) > 0) {}
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

}  // namespace torvane
