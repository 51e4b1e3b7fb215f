#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a
# temporary root and starts what it installed. Also checks `cmake --install`.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp:print_suppressions=0

# Starts a game program and expects it still running after two seconds.
keeps_running() {
  "$1" >/dev/null 2>&1 &
  local pid=$!
  sleep 2
  kill -0 "$pid" 2>/dev/null || return 1
  kill "$pid"; wait "$pid" 2>/dev/null || true
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
check "install: game and bitmaps in one folder" \
  '[ -x "$work/prefix/lib/torvane/torvane" ] && [ -f "$work/prefix/lib/torvane/3by3box.bmp" ] && [ -f "$work/prefix/lib/torvane/lose.bmp" ]'
check "install: bin link starts the game" 'keeps_running "$work/prefix/bin/torvane"'
check "install: desktop entry and icon" \
  '[ -f "$work/prefix/share/applications/torvane.desktop" ] && [ -f "$work/prefix/share/icons/hicolor/256x256/apps/torvane.png" ]'

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/torvane_*.deb)
check "package: one .deb built" '[ -f "$deb" ]'
depends=$(dpkg-deb -f "$deb" Depends)
check "package: depends on Qt and the fonts" \
  '[[ "$depends" == *libqt6widgets6* && "$depends" == *libqt6network6* && "$depends" == *fonts-rocknroll* ]]'
dpkg-deb -x "$deb" "$work/root"
check "package: the installed game starts" 'keeps_running "$work/root/usr/bin/torvane"'
check "package: the computer opponent solves the game" \
  '"$work/root/usr/bin/torvane-cpu" --solve | grep -q .'
check "package: menu entry runs the installed program" \
  'grep -q "^Exec=torvane$" "$work/root/usr/share/applications/torvane.desktop" && [ -f "$work/root/usr/share/icons/hicolor/256x256/apps/torvane.png" ]'

exit $failed
