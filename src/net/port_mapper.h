#pragma once
// Asks the home router to forward the listening port to this machine,
// keeps the mapping, and gives it back. Each exchange with the router runs
// in a helper process of its own (PortMapChild) that the game ends when it
// overruns, so no router, however slow or strange, holds up the window or
// the program's end, or grows the game's memory.
//
// A held mapping is checked every little while, and at once when a NAT-PMP
// router announces that it started. A router that restarted, stopped
// answering or gives another address has lost the mapping: that is
// reported, and the port asked for again until the router grants it.

#include <QObject>
#include <QTimer>

#include "net/port_map_child.h"
#include "net/port_map_timing.h"
#include "net/router_announcements.h"
#include "net/router_epoch.h"

namespace torvane {

class PortMapper : public QObject {
    Q_OBJECT
public:
    explicit PortMapper(const PortMapTiming& timing = {}, QObject* parent = nullptr);
    // Gives the mapping back, waiting for the router no longer than the
    // removal's deadline.
    ~PortMapper() override;

    // Asks for `port`; Opened follows once. Kept until Close.
    void open(quint16 port);
    // Gives the mapping back in the background; nothing is reported after.
    void close();

signals:
    // The router's first answer; after Lost, the mapping once it is back.
    void opened(const torvane::MappingResult& result);
    // The router no longer forwards the port as Opened last said.
    void lost();

private:
    enum class State { Idle, Opening, Held, Lost, Closed };

    void ask();
    void onAnswer(const PortMapAnswer& answer);
    void onChecked(const PortMapAnswer& answer, bool restarted);
    void hold(const PortMapAnswer& answer);
    void scheduleNext();
    void onAnnounced();

    const PortMapTiming timing_;
    PortMapChild exchange_;
    PortMapChild removal_;
    RouterAnnouncements announcements_;
    RouterEpoch epoch_;
    QTimer next_;
    State state_ = State::Idle;
    quint16 port_ = 0;
    // The last answer that mapped the port, while it holds.
    PortMapAnswer held_;
    // An announcement came while an exchange was going.
    bool announced_ = false;
};

}  // namespace torvane
