#pragma once
// The router helper's work: one request carried out with the router,
// NAT-PMP first and then UPnP IGD. It blocks for as long as the request's
// budget allows, and longer when a device stalls inside the UPnP library,
// which is why it runs in a process of its own that the game can end.

#include <optional>

#include "net/port_map_messages.h"

namespace torvane {

// The answer to print; nullopt for a removal, which has nothing to say.
std::optional<PortMapAnswer> carryOut(const PortMapRequest& request);

}  // namespace torvane
