#include "net/natpmp_mapping.h"

#include <arpa/inet.h>
#include <natpmp.h>
#include <poll.h>

#include <algorithm>

namespace torvane {

namespace {

// A gateway that speaks NAT-PMP answers within milliseconds; one that stays
// silent must leave time for UPnP. The library resends after 250 and 750 ms.
constexpr std::chrono::milliseconds kLongestWait{1500};

// One exchange with the gateway: the library's socket, closed on leaving.
class Exchange {
public:
    explicit Exchange(Deadline deadline)
        : deadline_(std::min(deadline, std::chrono::steady_clock::now() + kLongestWait)),
          ready_(initnatpmp(&natpmp_, 0, 0) == 0) {}
    ~Exchange() {
        if (ready_) closenatpmp(&natpmp_);
    }
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    bool ready() const { return ready_; }
    natpmp_t* handle() { return &natpmp_; }

    // Waits for the answer to the request just sent, letting the library
    // resend on its schedule, until an answer, an error or the deadline.
    int await(natpmpresp_t& response) {
        for (;;) {
            const int left = millisecondsLeft(deadline_);
            if (left == 0) return NATPMP_TRYAGAIN;
            timeval untilResend{};
            getnatpmprequesttimeout(&natpmp_, &untilResend);
            const long resendMs = untilResend.tv_sec * 1000L + untilResend.tv_usec / 1000L;
            pollfd socket{natpmp_.s, POLLIN, 0};
            poll(&socket, 1, static_cast<int>(std::clamp<long>(resendMs, 1, left)));
            const int result = readnatpmpresponseorretry(&natpmp_, &response);
            // A packet from anyone but the gateway is ignored.
            if (result != NATPMP_TRYAGAIN && result != NATPMP_ERR_WRONGPACKETSOURCE) return result;
        }
    }

private:
    natpmp_t natpmp_{};
    const Deadline deadline_;
    const bool ready_;
};

// The gateway's own refusals; every other error, and an answer of the
// wrong kind, means no NAT-PMP gateway.
MappingOutcome failureOf(int error) {
    switch (error) {
    case NATPMP_ERR_NOTAUTHORIZED:
    case NATPMP_ERR_NETWORKFAILURE:
    case NATPMP_ERR_OUTOFRESOURCES: return MappingOutcome::Refused;
    default: return MappingOutcome::NoRouter;
    }
}

}  // namespace

MappingResult NatPmpMapping::open(quint16 port, quint32 lease, Deadline deadline) {
    Exchange exchange(deadline);
    if (!exchange.ready()) return {};
    natpmpresp_t response{};
    if (sendpublicaddressrequest(exchange.handle()) < 0) return {};
    int result = exchange.await(response);
    if (result < 0 || response.type != NATPMP_RESPTYPE_PUBLICADDRESS) return {.outcome = failureOf(result)};
    MappingResult mapping{MappingOutcome::NotPublic, QHostAddress(ntohl(response.pnu.publicaddress.addr.s_addr))};
    if (!isPublicAddress(mapping.external)) return mapping;

    const quint16 asked = externalPort_ != 0 ? externalPort_ : port;
    if (sendnewportmappingrequest(exchange.handle(), NATPMP_PROTOCOL_TCP, port, asked, lease) < 0) return {};
    result = exchange.await(response);
    if (result < 0 || response.type != NATPMP_RESPTYPE_TCPPORTMAPPING || response.pnu.newportmapping.lifetime == 0) {
        return {.outcome = failureOf(result)};
    }
    externalPort_ = response.pnu.newportmapping.mappedpublicport;
    mapping.outcome = MappingOutcome::Mapped;
    mapping.externalPort = externalPort_;
    mapping.lifetime = response.pnu.newportmapping.lifetime;
    mapping.epoch = response.epoch;
    return mapping;
}

// A lifetime of 0 with the inside port deletes the mapping.
void NatPmpMapping::remove(quint16 port, Deadline deadline) {
    Exchange exchange(deadline);
    natpmpresp_t response{};
    if (exchange.ready() && sendnewportmappingrequest(exchange.handle(), NATPMP_PROTOCOL_TCP, port, 0, 0) >= 0) {
        exchange.await(response);
    }
}

bool NatPmpMapping::restore(const QByteArrayList& hold) {
    bool isNumber = false;
    externalPort_ = hold.size() == 1 ? hold.front().toUShort(&isNumber) : 0;
    return isNumber && externalPort_ != 0;
}

}  // namespace torvane
