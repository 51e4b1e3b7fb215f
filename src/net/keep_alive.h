#pragma once
// A rival whose machine vanishes without closing (Wi-Fi gone, lid shut,
// cable out) sends nothing more, not even the end of the connection. The
// system's defaults notice that after hours when the line is idle, and after
// a quarter of an hour when data is waiting to be acknowledged; these
// settings make it well under a minute either way, without a byte on the
// wire that the rival's program would see.

#include <chrono>

namespace torvane::keep_alive {

using std::chrono::seconds;

// An idle connection is probed after kIdle, then every kInterval.
inline constexpr seconds kIdle{15};
inline constexpr seconds kInterval{5};
inline constexpr int kProbes = 3;
// No acknowledgement for this long, of data or of a probe, ends it.
inline constexpr seconds kUserTimeout{30};

// Turns the probes on for the connected socket `descriptor`; false when the
// system refused a setting.
bool enable(int descriptor);

}  // namespace torvane::keep_alive
