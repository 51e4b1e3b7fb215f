#include "net/keep_alive.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <array>
#include <chrono>

namespace torvane::keep_alive {

namespace {

struct Option {
    int level;
    int name;
    int value;
};

using std::chrono::milliseconds;

const std::array<Option, 5> kOptions{{
    {SOL_SOCKET, SO_KEEPALIVE, 1},
    {IPPROTO_TCP, TCP_KEEPIDLE, int(kIdle.count())},
    {IPPROTO_TCP, TCP_KEEPINTVL, int(kInterval.count())},
    {IPPROTO_TCP, TCP_KEEPCNT, kProbes},
    {IPPROTO_TCP, TCP_USER_TIMEOUT, int(milliseconds(kUserTimeout).count())},
}};

}  // namespace

bool enable(int descriptor) {
    bool all = true;
    for (const Option& option : kOptions) {
        all = setsockopt(descriptor, option.level, option.name, &option.value, sizeof option.value) == 0 && all;
    }
    return all;
}

}  // namespace torvane::keep_alive
