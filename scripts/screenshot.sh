#!/usr/bin/env bash
# Makes docs/screenshot.png: two copies of the game, server and client side
# by side, under a private X server, a few moves into a game.
# Usage: scripts/screenshot.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
game="$build/bin/torvane"
[ -x "$game" ] || { echo "build the game first (make build)" >&2; exit 1; }
scripts/install-deps.sh --with-screenshot

display=:77
Xvfb "$display" -screen 0 846x432x24 >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() { kill "${pids[@]}" "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
export DISPLAY=$display
sleep 1

# The newest visible window of a process whose title matches.
window_of() {
  local pid=$1 title=$2 id=""
  for _ in $(seq 50); do
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$title" 2>/dev/null | tail -n 1) && [ -n "$id" ] && break
    sleep 0.2
  done
  echo "$id"
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
type_into() { xdotool windowfocus --sync "$1"; xdotool type --delay 30 "$2"; }

# Drags the stone whose corner is at (x, y) to the point at (tx, ty).
drag() {
  local w=$1 x=$(( $2 + 24 )) y=$(( $3 + 24 )) tx=$(( $4 + 24 )) ty=$(( $5 + 24 ))
  xdotool mousemove --window "$w" "$x" "$y" mousedown 1
  xdotool mousemove --window "$w" $(( (x + tx) / 2 )) $(( (y + ty) / 2 ))
  xdotool mousemove --window "$w" "$tx" "$ty" mouseup 1
  sleep 0.8
}

# Opens one copy, fills its dialog and places its main window at left $1.
open_copy() {
  local left=$1 name=$2 role=$3
  "$game" >/dev/null 2>&1 &
  local pid=$!
  pids+=("$pid")
  local dialog main
  dialog=$(window_of "$pid" "サーバかクライアント")
  main=$(window_of "$pid" "Product by")
  [ "$role" = client ] && click "$dialog" 250 48
  click "$dialog" 150 20
  type_into "$dialog" "$name"
  click "$dialog" 96 116
  xdotool windowmove "$main" "$left" 4
  echo "$main"
}

server=$(open_copy 4 Hanako server)
sleep 1
client=$(open_copy 426 Taro client)
sleep 2

click "$server" 356 252            # ゲーム開始
sleep 3.8
drag "$server" 132 225 132 132     # server: 7 -> 4
drag "$client" 225 225 225 132     # client: 8 -> 5, the server's 3
drag "$server" 225 225 225 132     # server: 8 -> 5
click "$client" 200 404            # the chat line
type_into "$client" "Nice move!"
xdotool key Return
sleep 0.5

import -window root docs/screenshot.png
echo "wrote docs/screenshot.png"
