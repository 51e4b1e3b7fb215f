#include "ui/remembered_player.h"

#include <QSettings>
#include <array>

#include "match/shown_text.h"
#include "net/port_text.h"

namespace torvane {

namespace {

const QString kNickName = QStringLiteral("nickname");
const QString kRole = QStringLiteral("role");
const QString kPort = QStringLiteral("port");
const QString kHosts = QStringLiteral("hosts");
// No host name is longer.
constexpr qsizetype kMaxHostLength = 253;

using Role = ConnectionSettings::Role;
const std::array<std::pair<Role, QString>, 3> kRoles = {{{Role::Server, QStringLiteral("server")},
                                                         {Role::Client, QStringLiteral("client")},
                                                         {Role::Computer, QStringLiteral("computer")}}};

// ~/.config/torvane/torvane.conf
const QString kFolder = QStringLiteral("torvane");
const QString kFile = QStringLiteral("torvane");

}  // namespace

RememberedPlayer RememberedPlayer::load() {
    const QSettings settings(kFolder, kFile);
    RememberedPlayer player;
    player.nickName = settings.value(kNickName).toString().left(kMaxNameLength);
    const QString role = settings.value(kRole).toString();
    for (const auto& [value, name] : kRoles) {
        if (name == role) player.role = value;
    }
    player.port = parsePort(settings.value(kPort).toString()).value_or(0);
    if (player.port == 0) player.port = kDefaultPort;
    for (const QString& host : settings.value(kHosts).toStringList()) {
        if (!host.isEmpty() && host.size() <= kMaxHostLength && player.hosts.size() < kMaxHosts) player.hosts << host;
    }
    return player;
}

void RememberedPlayer::remember(const ConnectionSettings& connection) {
    QSettings settings(kFolder, kFile);
    settings.setValue(kNickName, connection.nickName);
    for (const auto& [value, name] : kRoles) {
        if (value == connection.role) settings.setValue(kRole, name);
    }
    if (connection.role == Role::Computer) return;
    settings.setValue(kPort, QString::number(connection.port));
    if (connection.role != Role::Client) return;
    QStringList hosts = load().hosts;
    hosts.removeAll(connection.host);
    hosts.prepend(connection.host);
    settings.setValue(kHosts, hosts.mid(0, kMaxHosts));
}

}  // namespace torvane
