#include "net/port_map_child.h"

#include <QCoreApplication>

namespace torvane {

namespace {

// The game ends a run this long after its budget; the helper's own end
// comes sooner.
constexpr std::chrono::milliseconds kGrace{300};

// The helper stands beside the game, installed or built.
QString helperPath() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QStringLiteral(TORVANE_PORTMAP_PROGRAM);
}

}  // namespace

PortMapChild::PortMapChild(QObject* parent) : QObject(parent) {
    // What the helper complains about goes straight to the game's standard
    // error, never through the game's memory.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    overrun_.setSingleShot(true);
    connect(&overrun_, &QTimer::timeout, &process_, &QProcess::kill);
    connect(&process_, &QProcess::readyReadStandardOutput, this, &PortMapChild::read);
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        read();
        const bool clean = status == QProcess::NormalExit && code == 0;
        report(clean ? parseAnswer(output_).value_or(PortMapAnswer{}) : PortMapAnswer{});
    });
    // Reported from the event loop, never from inside Start.
    connect(
        &process_, &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) report({});
        },
        Qt::QueuedConnection);
}

void PortMapChild::start(const PortMapRequest& request) {
    output_.clear();
    running_ = true;
    const std::chrono::milliseconds allowed = request.budget + kGrace;
    deadline_ = QDeadlineTimer(allowed);
    overrun_.start(allowed);
    process_.start(helperPath(), requestArguments(request), QIODevice::ReadOnly);
}

void PortMapChild::stop() {
    running_ = false;
    overrun_.stop();
    if (process_.state() != QProcess::NotRunning) process_.kill();
}

void PortMapChild::finish() {
    if (!running_) return;
    if (!process_.waitForFinished(static_cast<int>(std::max<qint64>(deadline_.remainingTime(), 0)))) process_.kill();
}

// More than an answer is no answer: the run ends and the rest goes unread.
void PortMapChild::read() {
    output_ += process_.readAllStandardOutput();
    if (output_.size() <= kLongestAnswer) return;
    output_.truncate(kLongestAnswer + 1);
    process_.closeReadChannel(QProcess::StandardOutput);
    process_.kill();
}

void PortMapChild::report(const PortMapAnswer& answer) {
    if (!running_) return;
    running_ = false;
    overrun_.stop();
    emit answered(answer);
}

}  // namespace torvane
