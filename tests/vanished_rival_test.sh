#!/usr/bin/env bash
# A rival whose machine vanishes without closing the connection (cable out,
# Wi-Fi gone): the game as server in one network namespace, a bare rival in
# another that greets and then loses its link. The game must show the
# disconnection line within a minute, with nothing sent on the wire for it.
# Needs root for the namespaces; without it the test reports itself skipped.
# Usage: vanished_rival_test.sh HOST_PROGRAM
set -uo pipefail
export PATH=$PATH:/usr/sbin:/sbin
skip() { echo "SKIPPED: $*"; exit 77; }
host_program=$1
[ "$(id -u)" -eq 0 ] || skip "creating network namespaces needs root"
command -v ip >/dev/null || skip "ip is not installed (scripts/install-deps.sh installs it)"

run=tvv$$
game_ns=${run}g rival_ns=${run}r
net=10.78.0 port=9898 limit=60
work=$(mktemp -d)
game= rival=
cleanup() {
  for pid in $game $rival; do { kill -KILL $pid && wait $pid; } 2>/dev/null; done
  for ns in $game_ns $rival_ns; do ip netns del $ns 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
wait_for() {
  local end=$((SECONDS + $1))
  until eval "$2"; do [ $SECONDS -lt $end ] || return 1; sleep 0.1; done
}

for ns in $game_ns $rival_ns; do ip netns add $ns 2>/dev/null || skip "cannot create network namespaces"; done
ip link add g0 netns $game_ns type veth peer name r0 netns $rival_ns
ip -n $game_ns addr add $net.1/24 dev g0
ip -n $rival_ns addr add $net.2/24 dev r0
for pair in $game_ns:g0 $rival_ns:r0; do ip -n ${pair%%:*} link set ${pair#*:} up; done

ip netns exec $game_ns "$host_program" serve hanako $port >"$work/lines" 2>"$work/game.err" &
game=$!
wait_for 10 "grep -qF 'サーバできたよ' '$work/lines'" || { echo "FAILED: the game did not listen"; cat "$work/game.err"; exit 1; }
# The rival greets, reads the answer and then says nothing more.
ip netns exec $rival_ns bash -c "exec 3<>/dev/tcp/$net.1/$port && printf '|Cnnct x' >&3 && head -c 13 <&3 >'$work/reply' && sleep 600" &
rival=$!
wait_for 10 "[ \"\$(cat '$work/reply' 2>/dev/null)\" = '|SName hanako' ]" || { echo "FAILED: no answer to the greeting"; exit 1; }

ip -n $rival_ns link set r0 down
start=$SECONDS
if wait_for $limit "grep -qxF '☆☆☆　切断されました　☆☆☆' '$work/lines'"; then
  echo "ok: the vanished rival was noticed after $((SECONDS - start)) s (limit $limit s)"
else
  echo "FAILED: no disconnection line $limit s after the rival's link went down"
  cat "$work/lines"
  exit 1
fi
