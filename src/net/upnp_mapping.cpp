#include "net/upnp_mapping.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <algorithm>

namespace torvane {

namespace {

const char kTcp[] = "TCP";
const char kDescription[] = "Torvane";
// How long discovery waits for routers to answer: the library's shortest.
constexpr int kDiscoveryMs = 1000;
// The library's own search goes through four kinds of device, a wait each;
// every router answers to the first of them (version 2 ones too), so one
// search is enough and leaves time for the requests.
const char* const kSearchedDevices[] = {"urn:schemas-upnp-org:device:InternetGatewayDevice:1", nullptr};
// UPnP error codes of AddPortMapping.
constexpr int kConflictInMappingEntry = 718;
constexpr int kOnlyPermanentLeases = 725;

QByteArray portText(quint16 port) { return QByteArray::number(port); }

// Negative codes are the library's own (no answer, no HTTP, garbage);
// positive ones are the router's refusals.
MappingOutcome failureOf(int code) {
    if (code < 0) return MappingOutcome::NoRouter;
    return code == kConflictInMappingEntry ? MappingOutcome::PortTaken : MappingOutcome::Refused;
}

// The entry the router has for `port`: its inside address and port, and
// the seconds its lease has left; nullopt if it has none.
struct Entry {
    QByteArray client;
    QByteArray clientPort;
    quint32 leaseLeft = 0;
};

std::optional<Entry> entryOf(const QByteArray& controlUrl, const QByteArray& service, quint16 port) {
    char client[64] = {}, clientPort[16] = {}, desc[80] = {}, enabled[8] = {}, lease[16] = {};
    const int code =
        UPNP_GetSpecificPortMappingEntry(controlUrl.constData(), service.constData(), portText(port).constData(), kTcp,
                                         nullptr, client, clientPort, desc, enabled, lease);
    if (code != UPNPCOMMAND_SUCCESS) return std::nullopt;
    return Entry{client, clientPort, QByteArray(lease).toUInt()};
}

bool forwardsTo(const Entry& entry, const QByteArray& client, quint16 port) {
    return entry.client == client && entry.clientPort == portText(port);
}

}  // namespace

bool UpnpMapping::findRouter(Deadline deadline) {
    int error = 0;
    const int delay = std::min(kDiscoveryMs, millisecondsLeft(deadline));
    if (delay == 0) return false;
    UPNPDev* devices =
        upnpDiscoverDevices(kSearchedDevices, delay, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error, 0);
    if (!devices) return false;
    UPNPUrls urls{};
    IGDdatas igd{};
    char lan[64] = {};
    const int kind = UPNP_GetValidIGD(devices, &urls, &igd, lan, sizeof lan);
    freeUPNPDevlist(devices);
    // 1: a connected router, 2: one that says it is not connected, which
    // may be wrong; 3: some other UPnP device.
    if (kind == 0) return false;
    controlUrl_ = urls.controlURL;
    service_ = igd.first.servicetype;
    lanAddress_ = lan;
    FreeUPNPUrls(&urls);
    // What the device wrote is handed on to later runs as words: one with
    // blanks or control characters in its addresses is no router to use.
    return kind != 3 && isWord(controlUrl_) && isWord(service_) && isWord(lanAddress_);
}

MappingResult UpnpMapping::external() {
    char external[64] = {};
    const int code = UPNP_GetExternalIPAddress(controlUrl_.constData(), service_.constData(), external);
    if (code != UPNPCOMMAND_SUCCESS) return {.outcome = failureOf(code)};
    QHostAddress address(QString::fromLatin1(external));
    // A router that cannot tell (not connected, or garbled) has none.
    if (address.protocol() != QAbstractSocket::IPv4Protocol) address = QHostAddress(QHostAddress::AnyIPv4);
    return {isPublicAddress(address) ? MappingOutcome::Mapped : MappingOutcome::NotPublic, address};
}

MappingResult UpnpMapping::open(quint16 port, quint32 lease, Deadline deadline) {
    if (!findRouter(deadline) || millisecondsLeft(deadline) == 0) return {};
    const MappingResult outside = external();
    if (outside.outcome != MappingOutcome::Mapped || millisecondsLeft(deadline) == 0) return outside;
    // A port the router forwards already is renewed if it comes to this
    // machine and left alone if it goes to another one.
    const std::optional<Entry> held = entryOf(controlUrl_, service_, port);
    if (held && !forwardsTo(*held, lanAddress_, port)) return {MappingOutcome::PortTaken, outside.external};
    return add(port, lease, outside.external);
}

// Gone, or another machine's now, is the same to the game: not forwarded.
// Renewed once half the lease is over; a lease of 0 needs none.
MappingResult UpnpMapping::check(quint16 port, quint32 lease, Deadline deadline) {
    const MappingResult outside = external();
    if (outside.outcome != MappingOutcome::Mapped || millisecondsLeft(deadline) == 0) return outside;
    const std::optional<Entry> held = entryOf(controlUrl_, service_, port);
    if (!held || !forwardsTo(*held, lanAddress_, port)) return {};
    if (held->leaseLeft != 0 && held->leaseLeft <= lease / 2) return add(port, lease, outside.external);
    return {MappingOutcome::Mapped, outside.external, port, held->leaseLeft};
}

MappingResult UpnpMapping::add(quint16 port, quint32 lease, const QHostAddress& external) {
    const QByteArray portNumber = portText(port);
    const auto add = [&](quint32 seconds) {
        return UPNP_AddPortMapping(controlUrl_.constData(), service_.constData(), portNumber.constData(),
                                   portNumber.constData(), lanAddress_.constData(), kDescription, kTcp, nullptr,
                                   QByteArray::number(seconds).constData());
    };
    // Some routers grant only mappings without an end (lease 0).
    quint32 lifetime = lease;
    int code = add(lifetime);
    if (code == kOnlyPermanentLeases) {
        lifetime = 0;
        code = add(lifetime);
    }
    if (code != UPNPCOMMAND_SUCCESS) return {failureOf(code), external};
    return {MappingOutcome::Mapped, external, port, lifetime};
}

void UpnpMapping::remove(quint16 port, Deadline deadline) {
    if (millisecondsLeft(deadline) == 0) return;
    UPNP_DeletePortMapping(controlUrl_.constData(), service_.constData(), portText(port).constData(), kTcp, nullptr);
}

bool UpnpMapping::restore(const QByteArrayList& hold) {
    if (hold.size() != 3 || !std::all_of(hold.begin(), hold.end(), isWord)) return false;
    controlUrl_ = hold[0];
    service_ = hold[1];
    lanAddress_ = hold[2];
    return true;
}

}  // namespace torvane
