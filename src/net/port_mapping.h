#pragma once
// What asking a router to forward a port comes to, and what every protocol
// offers: open, check, give back, and the few words another run of the
// router helper needs to pick up a mapping this one obtained.

#include <QByteArrayList>
#include <QHostAddress>
#include <chrono>
#include <optional>

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
    // NAT-PMP's seconds since the router's mapping table began, which starts
    // from 0 again when the router restarts; UPnP has none.
    std::optional<quint32> epoch{};
};

using Deadline = std::chrono::steady_clock::time_point;

// Milliseconds left until `deadline`, never negative.
int millisecondsLeft(Deadline deadline);

// Whether other machines on the internet can reach `address`, a NAT
// router's outside IPv4 address: false for private, shared (carrier-grade
// NAT), loopback, link-local, documentation, multicast and other reserved
// ranges, and for anything that is not IPv4.
bool isPublicAddress(const QHostAddress& address);

// Whether `text` can go on a command line or an answer line as one word:
// printable ASCII without blanks, not empty.
bool isWord(QByteArrayView text);

// One protocol's hold on one forwarded TCP port, the same number outside
// as inside where the router allows. Calls block for at most the time they
// are given, so they run in the router helper only.
class RouterMapping {
public:
    virtual ~RouterMapping() = default;
    // Asks for `port` to be forwarded to this machine for `lease` seconds.
    virtual MappingResult open(quint16 port, quint32 lease, Deadline deadline) = 0;
    // Mapped while the router still forwards the port as Restore described,
    // renewed when due; anything else means the mapping is gone.
    virtual MappingResult check(quint16 port, quint32 lease, Deadline deadline) = 0;
    // Gives the mapping back.
    virtual void remove(quint16 port, Deadline deadline) = 0;
    // What a later run needs to check or remove the mapping, as printable
    // words without blanks, and taking them up again.
    virtual QByteArrayList hold() const = 0;
    virtual bool restore(const QByteArrayList& hold) = 0;
};

}  // namespace torvane
