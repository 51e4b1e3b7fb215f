#!/usr/bin/env bash
# The real game read through AT-SPI, as a screen reader reads it, under Xvfb
# and on a session bus of its own. Skipped when the X server, the bus or the
# AT-SPI bindings for Python are missing.
set -euo pipefail
torvane=$1

skip() {
  echo "SKIP: $1"
  exit 77
}
command -v Xvfb > /dev/null || skip "no Xvfb"
command -v dbus-run-session > /dev/null || skip "no dbus-run-session"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "no AT-SPI bus (at-spi2-core)"
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2> /dev/null \
  || skip "no AT-SPI for Python (python3-gi, gir1.2-atspi-2.0)"

exec dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/screen_reader_probe.py" "$torvane"
