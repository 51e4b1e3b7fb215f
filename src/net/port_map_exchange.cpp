#include "net/port_map_exchange.h"

#include <algorithm>
#include <array>
#include <utility>

#include "net/natpmp_mapping.h"
#include "net/upnp_mapping.h"

namespace torvane {

namespace {

using Protocols = std::array<std::pair<QByteArray, RouterMapping*>, 2>;

// Each protocol in turn until one maps the port; else the most telling
// failure.
PortMapAnswer open(const Protocols& protocols, const PortMapRequest& request, Deadline deadline) {
    PortMapAnswer best;
    for (const auto& [name, protocol] : protocols) {
        const MappingResult result = protocol->open(request.port, request.lease, deadline);
        if (result.outcome > best.result.outcome) best.result = result;
        if (result.outcome == MappingOutcome::Mapped) {
            best.hold = QByteArrayList{name} + protocol->hold();
            break;
        }
    }
    return best;
}

}  // namespace

std::optional<PortMapAnswer> carryOut(const PortMapRequest& request) {
    NatPmpMapping natPmp;
    UpnpMapping upnp;
    const Protocols protocols = {{{"natpmp", &natPmp}, {"upnp", &upnp}}};
    const Deadline deadline = std::chrono::steady_clock::now() + request.budget;
    using Kind = PortMapRequest::Kind;
    if (request.kind == Kind::Open) return open(protocols, request, deadline);

    const auto holder = std::find_if(protocols.begin(), protocols.end(),
                                     [&](const auto& protocol) { return protocol.first == request.hold.front(); });
    const bool restored = holder != protocols.end() && holder->second->restore(request.hold.mid(1));
    if (request.kind == Kind::Remove) {
        if (restored) holder->second->remove(request.port, deadline);
        return std::nullopt;
    }
    if (!restored) return PortMapAnswer{};
    PortMapAnswer answer{holder->second->check(request.port, request.lease, deadline)};
    if (answer.result.outcome == MappingOutcome::Mapped)
        answer.hold = QByteArrayList{holder->first} + holder->second->hold();
    return answer;
}

}  // namespace torvane
