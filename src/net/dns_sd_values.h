#pragma once
// What a game on the local network is called and where it is, between the
// game's own values and what DNS-SD carries: the nickname as an instance
// name, a peer's instance name as text to show, and a resolved address as
// one to connect to. Pure functions, so they are tested without a daemon.

#include <avahi-common/address.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <QString>

namespace torvane {

// The DNS-SD type a waiting game is announced under.
inline constexpr char kGameServiceType[] = "_torvane._tcp";
// An instance name is one DNS label: at most this many bytes of UTF-8.
inline constexpr qsizetype kMaxServiceNameBytes = 63;
// Names in the list of found games are cut to this many characters, the
// last of them an ellipsis.
inline constexpr qsizetype kMaxShownNameChars = 32;

// The instance name for `nickname`: cut between characters to fit a label.
QByteArray serviceName(const QString& nickname);

// A peer's instance name as plain text to show: invalid UTF-8 replaced,
// control, format and line-separator characters dropped, long names cut.
// Markup stays as the characters it is made of.
QString shownName(QByteArrayView serviceName);

// `address` resolved on interface `interfaceIndex`, ready to connect to: a
// link-local IPv6 address carries the interface as its scope.
QHostAddress connectAddress(const AvahiAddress& address, AvahiIfIndex interfaceIndex);

}  // namespace torvane
