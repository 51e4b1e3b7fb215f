#pragma once
// The fixed lines the window adds to its message list for what the match,
// the connection and the home router tell it.

#include <QString>

#include "match/match.h"
#include "net/peer_socket.h"
#include "net/port_mapping.h"

namespace torvane::text {

QString noticeLine(Notice notice);
// Why listening or connecting failed, or a connection broke.
QString failureLine(const SocketFailure& failure);
// The address the other player dials, or why there is none.
QString routerLine(const MappingResult& result);

}  // namespace torvane::text
