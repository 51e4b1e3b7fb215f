#pragma once
// How the game paces its exchanges with the home router. The program uses
// these values; tests shorten them to see leases run out and routers come
// back without waiting minutes.

#include <QtGlobal>
#include <chrono>

namespace torvane {

struct PortMapTiming {
    // Opening or checking: NAT-PMP's wait, then UPnP's search and requests.
    std::chrono::milliseconds exchange{4000};
    // Giving back at the end, which the program waits for as it closes.
    std::chrono::milliseconds removal{1200};
    // How often a held mapping is checked (renewed over NAT-PMP), and how
    // soon a lost one is asked for again: a router that restarted forwards
    // the port again within this and one exchange of coming back.
    std::chrono::milliseconds check{60'000};
    // Seconds the router is asked to keep the mapping. Checks renew it; a
    // game killed without giving it back leaves it for at most this long.
    quint32 leaseSeconds = 1200;
};

}  // namespace torvane
