#!/usr/bin/env bash
# Makes the pictures in docs/ under a private X server, at scale 1 and at
# scale 2 (a HiDPI screen):
#   screenshot[-scale2].png           server Hanako and client Taro side by
#                                     side, a few moves into a game, a chat line
#   screenshot-computer[-scale2].png  Hanako against the computer, one move in
#   screenshot-end[-scale2].png       a game's end: the winning row marked on
#                                     both screens, the banner stepped aside
# Usage: scripts/screenshot.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
game="$build/bin/torvane"
[ -x "$game" ] || { echo "build the game first (make build)" >&2; exit 1; }
scripts/install-deps.sh --with-screenshot

display=:77
xvfb=""
pids=()
# Each copy starts as on a first run, with nothing remembered.
configs=$(mktemp -d)
cleanup() { kill "${pids[@]}" $xvfb 2>/dev/null || true; rm -rf "$configs"; }
trap cleanup EXIT
export DISPLAY=$display

# Window coordinates below are in layout pixels; s() turns them into screen pixels.
scale=1
s() { echo $(( $1 * scale )); }

start_screen() {
  scale=$1 pids=()
  Xvfb "$display" -screen 0 "$(s 846)x$(s 432)x24" >/dev/null 2>&1 &
  xvfb=$!
  export QT_SCALE_FACTOR=$scale
  sleep 1
}

stop_screen() {
  kill "${pids[@]}" 2>/dev/null || true
  kill "$xvfb"; wait "$xvfb" 2>/dev/null || true
  xvfb="" pids=()
}

# The newest visible window of a process whose title matches.
window_of() {
  local pid=$1 title=$2 id=""
  for _ in $(seq 50); do
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$title" 2>/dev/null | tail -n 1) && [ -n "$id" ] && break
    sleep 0.2
  done
  echo "$id"
}
click() { xdotool mousemove --window "$1" "$(s "$2")" "$(s "$3")" click 1; sleep 0.3; }
type_into() { xdotool windowfocus --sync "$1"; xdotool type --delay 30 "$2"; }

# Drags the stone whose corner is at (x, y) to the point at (tx, ty).
drag() {
  local w=$1 x=$(( $2 + 24 )) y=$(( $3 + 24 )) tx=$(( $4 + 24 )) ty=$(( $5 + 24 ))
  xdotool mousemove --window "$w" "$(s $x)" "$(s $y)" mousedown 1
  xdotool mousemove --window "$w" "$(s $(( (x + tx) / 2 )))" "$(s $(( (y + ty) / 2 )))"
  xdotool mousemove --window "$w" "$(s $tx)" "$(s $ty)" mouseup 1
  sleep 0.8
}

# Opens one copy, fills its dialog, picks the role's option (none for the
# server) and places its main window at left $1.
open_copy() {
  local left=$1 name=$2 option_y=${3:-}
  XDG_CONFIG_HOME=$(mktemp -d -p "$configs") "$game" >/dev/null 2>&1 &
  local pid=$!
  pids+=("$pid")
  local dialog main
  dialog=$(window_of "$pid" "サーバかクライアント")
  main=$(window_of "$pid" "Product by")
  [ -n "$option_y" ] && click "$dialog" 250 "$option_y"
  click "$dialog" 150 20
  type_into "$dialog" "$name"
  click "$dialog" 96 116
  xdotool windowmove "$main" "$(s "$left")" "$(s 4)"
  echo "$main"
}

readonly kClientOption=48 kComputerOption=80

# Server Hanako on the left and client Taro on the right, a game started by
# the server.
server='' client=''
start_pair() {
  server=$(open_copy 4 Hanako)
  sleep 1
  client=$(open_copy 426 Taro $kClientOption)
  sleep 2
  click "$server" 356 252            # ゲーム開始
  sleep 3.8
}

two_players() {
  start_pair
  drag "$server" 132 225 132 132     # server: 7 -> 4
  drag "$client" 225 225 225 132     # client: 8 -> 5, the server's 3
  drag "$server" 225 225 225 132     # server: 8 -> 5
  click "$client" 200 404            # the chat line
  type_into "$client" "Nice move!"
  xdotool key Return
  sleep 0.5
}

# The server wins on its middle column: 8->4, 7->3, 6->3, 7->0, 6->1 from
# each side's own view.
game_end() {
  start_pair
  drag "$server" 225 225 132 132     # server: 8 -> 4
  drag "$client" 132 225 40 132      # client: 7 -> 3
  drag "$server" 40 225 40 132       # server: 6 -> 3
  drag "$client" 40 132 40 40        # client: 3 -> 0
  drag "$server" 40 132 132 40       # server: 3 -> 1, the middle column
  sleep 2.5                          # the banner steps aside
}

against_computer() {
  local main
  main=$(open_copy 214 Hanako $kComputerOption)
  sleep 2
  click "$main" 356 252              # ゲーム開始
  sleep 3.8
  drag "$main" 132 225 132 132       # 7 -> 4, then the computer answers
  sleep 1.5
}

for scale_wanted in 1 2; do
  suffix=""
  [ "$scale_wanted" = 2 ] && suffix="-scale2"
  for scene in two_players game_end against_computer; do
    start_screen "$scale_wanted"
    "$scene"
    name=screenshot
    [ "$scene" = against_computer ] && name=screenshot-computer
    [ "$scene" = game_end ] && name=screenshot-end
    import -window root "docs/$name$suffix.png"
    echo "wrote docs/$name$suffix.png"
    stop_screen
  done
done
