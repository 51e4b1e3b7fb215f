#include "net/upnp_mapping.h"

#include <miniupnpc/upnpcommands.h>

#include <algorithm>

namespace torvane {

namespace {

const char kTcp[] = "TCP";
const char kDescription[] = "Torvane";
// How long discovery waits for routers to answer.
constexpr int kDiscoveryMs = 1500;
// UPnP error codes of AddPortMapping.
constexpr int kConflictInMappingEntry = 718;
constexpr int kOnlyPermanentLeases = 725;

QByteArray PortText(quint16 port) { return QByteArray::number(port); }

// Negative codes are the library's own (no answer, no HTTP, garbage);
// positive ones are the router's refusals.
MappingOutcome FailureOf(int code) {
    if (code < 0) return MappingOutcome::NoRouter;
    return code == kConflictInMappingEntry ? MappingOutcome::PortTaken : MappingOutcome::Refused;
}

}  // namespace

UpnpMapping::~UpnpMapping() {
    if (found_) FreeUPNPUrls(&urls_);
}

bool UpnpMapping::FindRouter(Deadline deadline) {
    if (found_) return true;
    int error = 0;
    const int delay = std::min(kDiscoveryMs, MillisecondsLeft(deadline));
    if (delay == 0) return false;
    UPNPDev* devices = upnpDiscover(delay, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error);
    if (!devices) return false;
    char lan[64] = {};
    const int kind = UPNP_GetValidIGD(devices, &urls_, &igd_, lan, sizeof lan);
    freeUPNPDevlist(devices);
    // 1: a connected router, 2: one that says it is not connected, which
    // may be wrong; 3: some other UPnP device.
    if (kind == 0) return false;
    if (kind == 3) {
        FreeUPNPUrls(&urls_);
        return false;
    }
    found_ = true;
    lanAddress_ = lan;
    return true;
}

MappingResult UpnpMapping::Open(quint16 port, Deadline deadline) {
    if (!FindRouter(deadline) || MillisecondsLeft(deadline) == 0) return {};
    char external[64] = {};
    const int code = UPNP_GetExternalIPAddress(ControlUrl(), Service(), external);
    if (code != UPNPCOMMAND_SUCCESS) return {.outcome = FailureOf(code)};
    const QHostAddress address(QString::fromLatin1(external));
    if (!IsPublicAddress(address)) return {MappingOutcome::NotPublic, address};
    if (MillisecondsLeft(deadline) == 0) return {};
    return Add(port, address);
}

// Looks first whether the router forwards the port already: to this
// machine it is renewed, to another one it is left alone.
MappingResult UpnpMapping::Add(quint16 port, const QHostAddress& external) {
    const QByteArray portText = PortText(port);
    char client[64] = {}, clientPort[16] = {}, desc[80] = {}, enabled[8] = {}, lease[16] = {};
    const int held = UPNP_GetSpecificPortMappingEntry(ControlUrl(), Service(), portText.constData(), kTcp, nullptr,
                                                      client, clientPort, desc, enabled, lease);
    if (held == UPNPCOMMAND_SUCCESS && (lanAddress_ != client || portText != clientPort)) {
        return {MappingOutcome::PortTaken, external};
    }
    const auto add = [&](quint32 lease) {
        return UPNP_AddPortMapping(ControlUrl(), Service(), portText.constData(), portText.constData(),
                                   lanAddress_.constData(), kDescription, kTcp, nullptr,
                                   QByteArray::number(lease).constData());
    };
    // Some routers grant only mappings without an end (lease 0).
    quint32 lifetime = kLeaseSeconds;
    int code = add(lifetime);
    if (code == kOnlyPermanentLeases) {
        lifetime = 0;
        code = add(lifetime);
    }
    if (code != UPNPCOMMAND_SUCCESS) return {FailureOf(code), external};
    port_ = port;
    return {MappingOutcome::Mapped, external, port, lifetime};
}

void UpnpMapping::Remove(Deadline deadline) {
    if (port_ == 0 || !found_) return;
    if (MillisecondsLeft(deadline) > 0) {
        UPNP_DeletePortMapping(ControlUrl(), Service(), PortText(port_).constData(), kTcp, nullptr);
    }
    port_ = 0;
}

}  // namespace torvane
