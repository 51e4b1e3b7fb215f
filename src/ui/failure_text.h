#pragma once
// The line that tells why listening or connecting failed, or a connection
// broke.

#include <QString>

#include "net/peer_socket.h"

namespace torvane::text {

QString FailureText(const SocketFailure& failure);

}  // namespace torvane::text
