#pragma once
// SIGTERM and SIGINT (the desktop session ending, Ctrl+C in a terminal) end
// the program the way closing its window does, so that what it holds
// outside itself, the port forwarded on the router, is given back. The
// signal handler only writes a byte to a socket pair; the windows close on
// the user-interface thread when that byte is read.
//
// SIGPIPE is ignored: a router hanging up in the middle of a request is an
// answer like any other, not the end of the program.

#include <QObject>

class QSocketNotifier;

namespace torvane {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    // Puts the default handling back.
    ~QuitSignals() override;

private:
    void quit();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace torvane
