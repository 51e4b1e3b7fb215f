#include "net/port_mapping.h"

#include <algorithm>
#include <array>
#include <utility>

namespace torvane {

namespace {

// IPv4 ranges no one outside can be sent to; a router whose outside address
// lies in one sits behind yet another NAT.
const std::array<std::pair<const char*, int>, 15> kNotPublic = {{
    {"0.0.0.0", 8},        // this network; also a router that does not know
    {"10.0.0.0", 8},       // private
    {"100.64.0.0", 10},    // shared, carrier-grade NAT
    {"127.0.0.0", 8},      // loopback
    {"169.254.0.0", 16},   // link-local
    {"172.16.0.0", 12},    // private
    {"192.0.0.0", 24},     // protocol assignments
    {"192.0.2.0", 24},     // documentation
    {"192.88.99.0", 24},   // 6to4 relay, withdrawn
    {"192.168.0.0", 16},   // private
    {"198.18.0.0", 15},    // benchmarking
    {"198.51.100.0", 24},  // documentation
    {"203.0.113.0", 24},   // documentation
    {"224.0.0.0", 4},      // multicast
    {"240.0.0.0", 4},      // reserved and broadcast
}};

}  // namespace

int millisecondsLeft(Deadline deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

bool isPublicAddress(const QHostAddress& address) {
    bool isV4 = false;
    // Also takes an IPv4 address written the IPv6 way.
    const QHostAddress v4(address.toIPv4Address(&isV4));
    if (!isV4) return false;
    return std::none_of(kNotPublic.begin(), kNotPublic.end(), [&](const auto& range) {
        return v4.isInSubnet(QHostAddress(QString::fromLatin1(range.first)), range.second);
    });
}

bool isWord(QByteArrayView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

}  // namespace torvane
