#pragma once
// One run of the router helper, torvane-portmap, from the game's side:
// started with a request, ended by the game if it overruns the request's
// budget, its answer read up to a short line and no further. The window
// never waits for it, except for a removal as the program closes.

#include <QDeadlineTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>

#include "net/port_map_messages.h"

namespace torvane {

class PortMapChild : public QObject {
    Q_OBJECT
public:
    explicit PortMapChild(QObject* parent = nullptr);

    // Starts a run; Answered follows once, unless Stop comes first. Only
    // when no run is going.
    void start(const PortMapRequest& request);
    bool running() const { return running_; }
    // Ends the run at once; nothing is reported.
    void stop();
    // Waits for the run to end by itself, no longer than its deadline; for
    // the program's last moments only. An unfinished run is ended after.
    void finish();

signals:
    // A run that crashed, overran, could not start or said anything else
    // than one answer line answers NoRouter.
    void answered(const torvane::PortMapAnswer& answer);

private:
    void read();
    void report(const PortMapAnswer& answer);

    QProcess process_;
    QTimer overrun_;
    QDeadlineTimer deadline_;
    QByteArray output_;
    bool running_ = false;
};

}  // namespace torvane
