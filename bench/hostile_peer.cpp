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
qint64 StatusKiB(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field + ':')) return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Starts VmHWM again from the present resident size.
void ResetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

// Lets events run until `done` holds or `ms` have passed; false on timeout.
bool Spin(
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
        window_.Open();
        if (window_.Dialog()) window_.Dialog()->close();
        ConnectionSettings settings;
        settings.nickName = QStringLiteral("sv");
        settings.port = 0;
        window_.Play(settings);
        peer_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QObject::connect(&peer_, &QTcpSocket::readyRead, [this] { received_ += peer_.readAll(); });
        QObject::connect(&peer_, &QTcpSocket::bytesWritten, [this] { Refill(); });
        peer_.connectToHost(QHostAddress::LocalHost, window_.Connection().ListenPort());
        Spin(5000, [this] { return window_.Connection().IsConnected(); });
        Write(kGreeting);
        Spin(5000, [this] { return received_.contains(kAnswer); });
        received_.clear();
    }

    void Write(const QByteArray& bytes) {
        peer_.write(bytes);
        peer_.flush();
    }

    // `prefix`, `size` bytes of `fill` and `suffix`, handed to the socket a
    // MiB at a time so that the peer's own buffer stays small.
    void Stream(const QByteArray& prefix, char fill, qint64 size, const QByteArray& suffix) {
        Write(prefix);
        fill_ = fill;
        fillLeft_ = size;
        suffix_ = suffix;
        Refill();
    }

    // Waits until every byte has gone out; the time it did, in ms since `clock` started.
    qint64 Drain(const QElapsedTimer& clock) {
        Spin(120000, [this] { return fillLeft_ == 0 && suffix_.isEmpty() && peer_.bytesToWrite() == 0; });
        return clock.elapsed();
    }

    // Milliseconds from `since` (on `clock`) until the greeting's answer came, or -1.
    qint64 AwaitAnswer(const QElapsedTimer& clock, qint64 since, int ms) {
        // The window answers only once the event loop runs, so what came
        // before is from earlier.
        received_.clear();
        const bool came = Spin(ms, [this] { return received_.contains(kAnswer); });
        return came ? clock.elapsed() - since : -1;
    }

    GameWindow& window() { return window_; }
    QStringList Lines() const {
        QStringList lines;
        const QListWidget* list = window_.Form().messageList;
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

private:
    void Refill() {
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

std::vector<Figure> StartsOnePerRead() {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    const qint64 stack = StatusKiB("VmStk");
    qint64 lastStart = 0;
    for (int i = 0; i < 9000; ++i) {
        rig.Write("|StrtG ");
        lastStart = clock.elapsed();
        Spin(3);
    }
    const qint64 greeted = clock.elapsed();
    rig.Write(kGreeting);
    const qint64 answer = rig.AwaitAnswer(clock, greeted, 2000);
    Spin(10000, [&] { return !rig.window().CurrentMatch().StartRunning(); });
    const qint64 ended = clock.elapsed() - lastStart;
    return {{"9,000 starts, one per read: greeting answered (ms)", double(answer), 100},
            {"  start sequences shown", double(rig.Lines().count(kSecond)), 1.5},
            {"  sequence ends after the last start (ms)", double(ended), 0},
            {"  stack growth (KiB)", double(StatusKiB("VmStk") - stack), 64}};
}

std::vector<Figure> StartsInOneRead() {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    const qint64 stack = StatusKiB("VmStk");
    rig.Write(QByteArray("|StrtG ").repeated(1000));
    rig.Drain(clock);
    Spin(100);
    const qint64 greeted = clock.elapsed();
    rig.Write(kGreeting);
    const qint64 answer = rig.AwaitAnswer(clock, greeted, 2000);
    Spin(10000, [&] { return !rig.window().CurrentMatch().StartRunning(); });
    return {{"1,000 starts in one read: greeting answered (ms)", double(answer), 100},
            {"  start sequences shown", double(rig.Lines().count(kSecond)), 1.5},
            {"  stack growth (KiB)", double(StatusKiB("VmStk") - stack), 64}};
}

std::vector<Figure> ChatFlood() {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    rig.Write(QByteArray("|Speak a>>hi").repeated(40000) + kGreeting);
    const qint64 last = rig.Drain(clock);
    const qint64 answer = rig.AwaitAnswer(clock, last, 5000);
    return {{"40,000 chat lines in one write: greeting answered (ms)", double(answer), 1000},
            {"  lines in the list", double(rig.window().Form().messageList->count()), MessageList::kMaxLines + 0.5}};
}

// `prefix` and `size` filler bytes, then the greeting half a second later.
std::vector<Figure> Huge(const char* what, const QByteArray& prefix, qint64 size) {
    const qint64 before = StatusKiB("VmRSS");
    ResetPeak();
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    rig.Stream(prefix, 'x', size, QByteArray());
    rig.Drain(clock);
    Spin(500);
    const qint64 greeted = clock.elapsed();
    rig.Write(kGreeting);
    const qint64 answer = rig.AwaitAnswer(clock, greeted, 10000);
    return {{what, double(answer), 2000}, {"  resident growth (MiB)", (StatusKiB("VmHWM") - before) / 1024.0, 100}};
}

// 64 KiB of one message in one write, once a second; each time a greeting
// right behind it. The slowest answer of three.
std::vector<Figure> FloodEverySecond(const char* what, const QByteArray& message) {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    qint64 slowest = 0;
    for (int round = 0; round < 3; ++round) {
        const qint64 sent = clock.elapsed();
        rig.Write(message.repeated(64 * 1024 / message.size()));
        rig.Write(kGreeting);
        slowest = std::max(slowest, rig.AwaitAnswer(clock, sent, 5000));
        Spin(1000);
    }
    return {{what, double(slowest), 100}};
}

std::vector<Figure> GreetingBehindLongLine() {
    Rig rig;
    QElapsedTimer clock;
    clock.start();
    rig.Write("|Speak a>>" + QByteArray(100000, 'x') + kGreeting);
    const qint64 last = rig.Drain(clock);
    const qint64 answer = rig.AwaitAnswer(clock, last, 5000);
    return {{"greeting behind a 100,000-char chat line: answered (ms)", double(answer), 500}};
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    fonts::InstallSubstitutes();
    // A name on the command line runs only that case.
    const std::vector<std::pair<const char*, std::function<std::vector<Figure>()>>> cases = {
        {"starts", StartsOnePerRead},
        {"one-read-starts", StartsInOneRead},
        {"chat-flood", ChatFlood},
        {"huge-chat",
         [] { return Huge("10 MB chat line: greeting 0.5 s later answered (ms)", "|Speak a>>", 10'000'000); }},
        {"huge-name", [] { return Huge("10 MB name: greeting 0.5 s later answered (ms)", "|Cnnct ", 10'000'000); }},
        {"huge-plain",
         [] { return Huge("100 MB without a bar: greeting 0.5 s later answered (ms)", "", 100'000'000); }},
        {"long-line", GreetingBehindLongLine},
        {"start-floods",
         [] { return FloodEverySecond("64 KiB of starts once a second: greeting answered (ms)", "|StrtG "); }},
        {"finish-floods",
         [] { return FloodEverySecond("64 KiB of game ends once a second: greeting answered (ms)", "|Finis "); }},
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
