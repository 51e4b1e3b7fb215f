// How the game window holds up against a peer that floods it: a real window
// serving on loopback with the real start sequence, fed from a socket in the
// same process, timed by the wall clock. Prints one table of figures; a
// figure over its limit makes the exit status 1.
//
// Memory is the peak resident size (VmHWM, reset before each case) over the
// resident size before it; the stack is the main thread's stack mapping
// (VmStk), which grows with the deepest call and never shrinks. `make
// hostile` runs this under a small stack limit as well.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <cstdio>
#include <functional>

#include "net/message_reader.h"
#include "ui/connection_dialog.h"
#include "ui/fonts.h"
#include "ui/game_window.h"
#include "ui/message_list.h"
#include "ui/prompter.h"
#include "ui_game_window.h"

namespace {

using namespace torvane;

constexpr qint64 kMiB = 1024 * 1024;
const QByteArray kGreeting = "|Cnnct z";
const QByteArray kAnswer = "|SName sv";
const QString kSecond = QStringLiteral("☆☆☆　ゲーム開始　あなたは後攻です　☆☆☆");

// A field of /proc/self/status in KiB, or -1.
qint64 statusKiB(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field + ':')) return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Starts VmHWM again from the present resident size.
void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

// Lets events run until `done` holds or `ms` have passed; false on timeout.
bool spin(
    int ms, const std::function<bool()>& done = [] { return false; }) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A window serving as "sv" and a bare peer connected to it that has greeted
// (a peer that does not is let go after ten seconds).
class Rig {
public:
    Rig() : window_(prompter_) {
        window_.open();
        if (window_.dialog()) window_.dialog()->close();
        ConnectionSettings settings;
        settings.nickName = QStringLiteral("sv");
        settings.port = 0;
        window_.play(settings);
        peer_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QObject::connect(&peer_, &QTcpSocket::readyRead, [this] { received_ += peer_.readAll(); });
        QObject::connect(&peer_, &QTcpSocket::bytesWritten, [this] { refill(); });
        peer_.connectToHost(QHostAddress::LocalHost, window_.connection().listenPort());
        spin(5000, [this] { return window_.connection().isConnected(); });
        write(kGreeting);
        spin(5000, [this] { return received_.contains(kAnswer); });
        received_.clear();
    }

    void write(const QByteArray& bytes) {
        peer_.write(bytes);
        peer_.flush();
    }

    // `prefix`, `size` bytes of `fill` and `suffix`, handed to the socket a
    // MiB at a time so that the peer's own buffer stays small.
    void stream(const QByteArray& prefix, char fill, qint64 size, const QByteArray& suffix) {
        write(prefix);
        fill_ = fill;
        fillLeft_ = size;
        suffix_ = suffix;
        refill();
    }

    // Waits until every byte has gone out; the time it did, in ms since `clock` started.
    qint64 drain(const QElapsedTimer& clock) {
        spin(120000, [this] { return fillLeft_ == 0 && suffix_.isEmpty() && peer_.bytesToWrite() == 0; });
        return clock.elapsed();
    }

    // Milliseconds from `since` (on `clock`) until the greeting's answer came, or -1.
    qint64 awaitAnswer(const QElapsedTimer& clock, qint64 since, int ms) {
        // The window answers only once the event loop runs, so what came
        // before is from earlier.
        received_.clear();
        const bool came = spin(ms, [this] { return received_.contains(kAnswer); });
        return came ? clock.elapsed() - since : -1;
    }

    GameWindow& window() { return window_; }
    QStringList lines() const {
        QStringList lines;
        const QListWidget* list = window_.form().messageList;
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

private:
    void refill() {
        if (peer_.bytesToWrite() > kMiB) return;
        if (fillLeft_ > 0) {
            const qint64 piece = std::min(fillLeft_, kMiB);
            fillLeft_ -= piece;
            peer_.write(QByteArray(piece, fill_));
        } else if (!suffix_.isEmpty()) {
            peer_.write(std::exchange(suffix_, QByteArray()));
        }
    }

    MessageBoxPrompter prompter_;
    GameWindow window_;
    QTcpSocket peer_;
    QByteArray received_;
    char fill_ = 'x';
    qint64 fillLeft_ = 0;
    QByteArray suffix_;
};

struct Figure {
    const char* what;
    double value;
    double limit;  // the value must stay below it; 0: shown only
};

std::vector<Figure> startsOnePerRead() {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    const qint64 stack = statusKiB("VmStk");
    qint64 lastStart = 0;
    for (int i = 0; i < 9000; ++i) {
        rig.write("|StrtG ");
        lastStart = clock.elapsed();
        spin(3);
    }
    const qint64 greeted = clock.elapsed();
    rig.write(kGreeting);
    const qint64 answer = rig.awaitAnswer(clock, greeted, 2000);
    spin(10000, [&] { return !rig.window().currentMatch().state().startRunning; });
    const qint64 ended = clock.elapsed() - lastStart;
    return {{"9,000 starts, one per read: greeting answered (ms)", double(answer), 100},
            {"  start sequences shown", double(rig.lines().count(kSecond)), 1.5},
            {"  sequence ends after the last start (ms)", double(ended), 0},
            {"  stack growth (KiB)", double(statusKiB("VmStk") - stack), 64}};
}

std::vector<Figure> startsInOneRead() {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    const qint64 stack = statusKiB("VmStk");
    rig.write(QByteArray("|StrtG ").repeated(1000));
    rig.drain(clock);
    spin(100);
    const qint64 greeted = clock.elapsed();
    rig.write(kGreeting);
    const qint64 answer = rig.awaitAnswer(clock, greeted, 2000);
    spin(10000, [&] { return !rig.window().currentMatch().state().startRunning; });
    return {{"1,000 starts in one read: greeting answered (ms)", double(answer), 100},
            {"  start sequences shown", double(rig.lines().count(kSecond)), 1.5},
            {"  stack growth (KiB)", double(statusKiB("VmStk") - stack), 64}};
}

std::vector<Figure> chatFlood() {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    rig.write(QByteArray("|Speak a>>hi").repeated(40000) + kGreeting);
    const qint64 last = rig.drain(clock);
    const qint64 answer = rig.awaitAnswer(clock, last, 5000);
    return {{"40,000 chat lines in one write: greeting answered (ms)", double(answer), 1000},
            {"  lines in the list", double(rig.window().form().messageList->count()), MessageList::kMaxLines + 0.5}};
}

// `prefix` and `size` filler bytes, then the greeting half a second later.
std::vector<Figure> huge(const char* what, const QByteArray& prefix, qint64 size) {
    const qint64 before = statusKiB("VmRSS");
    resetPeak();
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    rig.stream(prefix, 'x', size, QByteArray());
    rig.drain(clock);
    spin(500);
    const qint64 greeted = clock.elapsed();
    rig.write(kGreeting);
    const qint64 answer = rig.awaitAnswer(clock, greeted, 10000);
    return {{what, double(answer), 2000}, {"  resident growth (MiB)", (statusKiB("VmHWM") - before) / 1024.0, 100}};
}

// 64 KiB of one message in one write, once a second; each time a greeting
// right behind it. The slowest answer of three.
std::vector<Figure> floodEverySecond(const char* what, const QByteArray& message) {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    qint64 slowest = 0;
    for (int round = 0; round < 3; ++round) {
        const qint64 sent = clock.elapsed();
        rig.write(message.repeated(64 * 1024 / message.size()));
        rig.write(kGreeting);
        slowest = std::max(slowest, rig.awaitAnswer(clock, sent, 5000));
        spin(1000);
    }
    return {{what, double(slowest), 100}};
}

std::vector<Figure> greetingBehindLongLine() {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    rig.write("|Speak a>>" + QByteArray(100000, 'x') + kGreeting);
    const qint64 last = rig.drain(clock);
    const qint64 answer = rig.awaitAnswer(clock, last, 5000);
    return {{"greeting behind a 100,000-char chat line: answered (ms)", double(answer), 500}};
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    fonts::installSubstitutes();
    // A name on the command line runs only that case.
    const std::vector<std::pair<const char*, std::function<std::vector<Figure>()>>> cases = {
        {"starts", startsOnePerRead},
        {"one-read-starts", startsInOneRead},
        {"chat-flood", chatFlood},
        {"huge-chat",
         [] { return huge("10 MB chat line: greeting 0.5 s later answered (ms)", "|Speak a>>", 10'000'000); }},
        {"huge-name", [] { return huge("10 MB name: greeting 0.5 s later answered (ms)", "|Cnnct ", 10'000'000); }},
        {"huge-plain",
         [] { return huge("100 MB without a bar: greeting 0.5 s later answered (ms)", "", 100'000'000); }},
        {"long-line", greetingBehindLongLine},
        {"start-floods",
         [] { return floodEverySecond("64 KiB of starts once a second: greeting answered (ms)", "|StrtG "); }},
        {"finish-floods",
         [] { return floodEverySecond("64 KiB of game ends once a second: greeting answered (ms)", "|Finis "); }},
    };
    const QStringList only = app.arguments().mid(1);
    std::printf("%-58s %10s %8s\n", "figure", "measured", "limit");
    bool allHeld = true;
    for (const auto& [name, run] : cases) {
        if (!only.isEmpty() && !only.contains(QLatin1String(name))) continue;
        for (const Figure& figure : run()) {
            const bool held = figure.limit == 0 || (figure.value >= 0 && figure.value < figure.limit);
            allHeld = allHeld && held;
            std::printf("%-58s %10.1f %8s %s\n", figure.what, figure.value,
                        figure.limit == 0 ? "" : QByteArray::number(figure.limit).constData(), held ? "" : "MISSED");
            std::fflush(stdout);
        }
    }
    return allHeld ? 0 : 1;
}
