#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a
# temporary root, starts what it installed and has the distribution's
# validators check it: lintian, appstreamcli and desktop-file-validate. Also
# checks `cmake --install`. Exits 77 (skipped) after its other checks when a
# validator is missing.
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
game=$work/prefix/lib/games/torvane
check "install: game, router helper and bitmaps in one folder" \
  '[ -x "$game/torvane" ] && [ -x "$game/torvane-portmap" ] && [ -f "$game/3by3box.bmp" ] && [ -f "$game/lose.bmp" ]'
check "install: the games folder's link starts the game" 'keeps_running "$work/prefix/games/torvane"'
check "install: desktop entry, icon and manual pages under the prefix" \
  '[ -f "$work/prefix/share/applications/org.torvane.torvane.desktop" ] &&
   [ -f "$work/prefix/share/icons/hicolor/256x256/apps/org.torvane.torvane.png" ] &&
   [ -f "$work/prefix/share/man/man6/torvane-cpu.6.gz" ]'

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/torvane_*.deb)
check "package: one .deb built" '[ -f "$deb" ]'
depends=$(dpkg-deb -f "$deb" Depends)
check "package: depends on Qt and the fonts" \
  '[[ "$depends" == *libqt6widgets6* && "$depends" == *libqt6network6* && "$depends" == *fonts-rocknroll* ]]'
check "package: recommends the Avahi daemon, without depending on it" \
  '[ "$(dpkg-deb -f "$deb" Recommends)" = avahi-daemon ] && [[ "$depends" != *avahi-daemon* ]]'
dpkg-deb -x "$deb" "$work/root"
check "package: the installed game starts" 'keeps_running "$work/root/usr/games/torvane"'
check "package: the computer opponent solves the game" \
  '"$work/root/usr/games/torvane-cpu" --solve | grep -q .'

for validator in lintian appstreamcli desktop-file-validate; do
  if ! command -v "$validator" >/dev/null; then
    echo "skipped: $validator is not installed"
    [ $failed -eq 0 ] && exit 77
    exit $failed
  fi
done
# A validator's report is shown when it fails.
reported() { "$@" >"$work/report.txt" 2>&1 || { cat "$work/report.txt"; false; }; }
check "package: lintian finds no error and no warning" 'reported lintian --fail-on error,warning "$deb"'
check "package: the metainfo validates, infos included" \
  'reported appstreamcli validate --no-net --strict "$work/root/usr/share/metainfo/org.torvane.torvane.metainfo.xml"'
# desktop-file-validate prints warnings without failing: any output fails it.
check "package: the desktop entry validates" \
  'report=$(desktop-file-validate "$work/root/usr/share/applications/org.torvane.torvane.desktop" 2>&1);
   echo -n "$report"; [ -z "$report" ]'

exit $failed
