#pragma once
// How this copy of the game meets its rival, as the connection dialog
// collects it.

#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include "net/port_map_timing.h"

namespace torvane {

// The port both players use unless they choose another.
inline constexpr quint16 kDefaultPort = 9898;

struct ConnectionSettings {
    // Listen for the rival, connect to it, or play the computer on this machine.
    enum class Role { Server, Client, Computer };
    Role role = Role::Server;
    QString nickName;
    // The server to connect to, for a client.
    QString host;
    quint16 port = kDefaultPort;
    // The server asks the home router to forward its port. The program
    // always does; tests only where a router of their own stands.
    bool forwardPort = false;
    // How often the router is checked and how long it may take; shortened
    // in tests only.
    PortMapTiming routerTiming;
};

}  // namespace torvane

Q_DECLARE_METATYPE(torvane::ConnectionSettings)
