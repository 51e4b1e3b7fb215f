#pragma once
// The connection settings the dialog collects for the main window. One
// object per program (or per window pair in tests), never a global.

#include <QString>

#include "net/port_map_timing.h"

namespace torvane {

struct ConnectionSettings {
    bool IsServer = false;
    // Playing the client's side against the computer on this machine.
    bool VsComputer = false;
    QString NickName;
    QString PortText;
    QString HostText;
    // The server asks the home router to forward its port. The program
    // always does; tests only where a router of their own stands.
    bool ForwardPort = false;
    // Set by OK in the dialog; the window starts networking once it is set.
    bool ConnectAccepted = false;
};

struct Session {
    ConnectionSettings settings;
    // How often the router is checked and how long it may take; shortened
    // in tests only.
    PortMapTiming routerTiming;
};

}  // namespace torvane
