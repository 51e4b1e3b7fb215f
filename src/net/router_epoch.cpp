#include "net/router_epoch.h"

#include <utility>

namespace torvane {

namespace {

constexpr qint64 kSlackMs = 2000;

}  // namespace

bool RouterEpoch::restarted(std::optional<quint32> epoch, Clock::time_point now) {
    const std::optional<Heard> last = std::exchange(last_, std::nullopt);
    if (!epoch) return false;
    last_ = Heard{*epoch, now};
    if (!last) return false;
    const qint64 elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - last->at).count();
    const qint64 expectedMs = qint64{last->epoch} * 1000 + elapsedMs * 7 / 8;
    return qint64{*epoch} * 1000 + kSlackMs < expectedMs;
}

}  // namespace torvane
