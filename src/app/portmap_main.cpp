// torvane-portmap: the game's go-between with the home router. One run per
// exchange, opening, checking or giving back the forwarded port as the
// command line asks (see net/port_map_messages.h); it prints its one answer
// line and exits. A device on the network can stall the UPnP library byte
// by byte or feed it without end, so a run keeps to a deadline and a memory
// budget of its own, and the game ends it when it is late.

#include <sys/resource.h>
#include <sys/time.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/command_line.h"
#include "net/port_map_exchange.h"

namespace {

using namespace torvane;

// After its budget the run ends itself, this much later, should the
// libraries not have kept to it.
constexpr std::chrono::milliseconds kOverrun{150};
// Memory the run may take beyond what it holds at the start, so that no
// answer from the router of more than 1 MiB can be read in. A whole
// exchange with a real router takes less than 64 KiB of it.
constexpr rlim_t kAnswerRoom = 1 << 20;

// SIGALRM's default action ends the process wherever it stands.
void endAfter(std::chrono::milliseconds time) {
    itimerval timer{};
    timer.it_value.tv_sec = static_cast<time_t>(time.count() / 1000);
    timer.it_value.tv_usec = static_cast<suseconds_t>(time.count() % 1000 * 1000);
    setitimer(ITIMER_REAL, &timer, nullptr);
}

// The data segment and private mappings the process holds now, in bytes.
rlim_t dataNow() {
    std::ifstream status("/proc/self/status");
    std::string key;
    rlim_t kib = 0;
    while (status >> key) {
        if (key == "VmData:" && status >> kib) return kib * 1024;
    }
    return 0;
}

// A sanitizer's shadow memory needs far more than any budget would allow.
void limitMemory() {
#ifndef TORVANE_SANITIZED
    const rlim_t now = dataNow();
    if (now == 0) return;
    const rlimit limit{now + kAnswerRoom, now + kAnswerRoom};
    setrlimit(RLIMIT_DATA, &limit);
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::optional<PortMapRequest> request = parseRequest(command_line::argumentsOf(argc, argv).mid(1));
    if (!request) {
        std::fprintf(stderr, "usage: torvane-portmap open|check|remove PORT LEASE BUDGET_MS [HOLD...]\n");
        return command_line::kUsageError;
    }
    // A router hanging up mid-request is an answer, not the end of the run.
    std::signal(SIGPIPE, SIG_IGN);
    endAfter(request->budget + kOverrun);
    limitMemory();
    if (const std::optional<PortMapAnswer> answer = carryOut(*request)) {
        const QByteArray line = answerLine(*answer);
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    }
    return 0;
}
