#pragma once
// What the connection dialog remembers of the player from one run to the
// next, in the user's settings (~/.config/torvane/torvane.conf on Linux):
// the nickname, the role, the port and the last hosts joined. It is written
// when a connection succeeds.

#include <QStringList>
#include <optional>

#include "match/connection_settings.h"

namespace torvane {

struct RememberedPlayer {
    static constexpr int kMaxHosts = 10;

    QString nickName;
    std::optional<ConnectionSettings::Role> role;
    quint16 port = kDefaultPort;
    // The most recent first.
    QStringList hosts;

    // What the settings hold; what they do not, or hold unreadably, is left
    // as a first run has it.
    static RememberedPlayer load();
    // `settings` led to a connection: remembered, the host first among the
    // recent ones.
    static void remember(const ConnectionSettings& settings);
};

}  // namespace torvane
