#pragma once
// What asking a router to forward a port comes to, and the limits every
// protocol keeps to.

#include <QHostAddress>
#include <QMetaType>
#include <chrono>

namespace torvane {

// From least to most telling: when several routers or protocols fail, the
// most telling failure is the one reported.
enum class MappingOutcome {
    NoRouter,   // nothing answered, or nothing understandable
    Refused,    // a router answered and said no
    PortTaken,  // the router already forwards the port to another machine
    NotPublic,  // the router's outside address is itself private or shared
    Mapped,
};

struct MappingResult {
    MappingOutcome outcome = MappingOutcome::NoRouter;
    // The router's outside address; with Mapped, what the other player dials.
    QHostAddress external{};
    quint16 externalPort = 0;
    // Seconds the router keeps the mapping; 0 means until removed.
    quint32 lifetime = 0;
};

// The mapping is asked for an hour and renewed halfway through.
inline constexpr quint32 kLeaseSeconds = 3600;
using Deadline = std::chrono::steady_clock::time_point;

// Milliseconds left until `deadline`, never negative.
int MillisecondsLeft(Deadline deadline);

// Whether other machines on the internet can reach `address`, a NAT
// router's outside IPv4 address: false for private, shared (carrier-grade
// NAT), loopback, link-local, documentation, multicast and other reserved
// ranges, and for anything that is not IPv4.
bool IsPublicAddress(const QHostAddress& address);

// One protocol's hold on one forwarded TCP port. Calls block for at most
// the time they are given, so they run on a worker thread only.
class RouterMapping {
public:
    virtual ~RouterMapping() = default;
    // Asks for `port` outside to reach `port` on this machine, or renews it.
    virtual MappingResult Open(quint16 port, Deadline deadline) = 0;
    // Gives back what Open obtained.
    virtual void Remove(Deadline deadline) = 0;
};

}  // namespace torvane

Q_DECLARE_METATYPE(torvane::MappingResult)
