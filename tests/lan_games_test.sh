#!/usr/bin/env bash
# Games announced and found on the local network through real Avahi daemons.
# Two network namespaces joined by a veth pair stand for two computers; each
# has its own system bus and avahi-daemon in a private mount and host-name
# namespace. Cases: a game announced on one is listed on the other with its
# address, port and name as plain text, and the time that takes is printed;
# a withdrawn game leaves the list; two games of one name are both listed,
# one renamed; a daemon killed or stopped and started again, on either side;
# and no system bus at all.
# Needs root for the namespaces; without it, or without avahi-daemon, the
# test reports itself skipped.
# Usage: lan_games_test.sh HOST_PROGRAM  (KEEP_WORK=1 keeps the hosts' lines
# and names the folder they are in.)
set -uo pipefail
export PATH=$PATH:/usr/sbin:/sbin
skip() { echo "SKIPPED: $*"; exit 77; }
host_program=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || skip "creating network namespaces needs root"
for tool in ip unshare nsenter dbus-daemon avahi-daemon; do
  command -v $tool >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done

run=lg$$
a=${run}a b=${run}b
address_a=10.77.0.1 address_b=10.77.0.2
work=$(mktemp -d)
failed=0
declare -A holder input pid
cleanup() {
  disown -a
  for name in "${!pid[@]}"; do kill -KILL ${pid[$name]} 2>/dev/null; done
  for ns in $a $b; do
    ip netns pids $ns 2>/dev/null | xargs -r kill -KILL
    ip netns del $ns 2>/dev/null
  done
  [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
# A host that died fails its checks; writing to it must not end the script.
trap '' PIPE
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
# wait_for SECONDS COMMAND: until COMMAND succeeds, polling.
wait_for() {
  local end=$((SECONDS + $1))
  until eval "$2"; do [ $SECONDS -lt $end ] || return 1; sleep 0.02; done
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The veth pair, then per side a process that holds a private mount and
# host-name namespace with an empty /run/dbus and /run/avahi-daemon.
make_network() {
  ip netns add $a 2>/dev/null && ip netns add $b 2>/dev/null || skip "cannot create network namespaces"
  ip link add va netns $a type veth peer name vb netns $b
  ip -n $a addr add $address_a/24 dev va
  ip -n $b addr add $address_b/24 dev vb
  for side in $a:va $b:vb; do ip -n ${side%%:*} link set ${side#*:} up; done
  for ns in $a $b; do
    ip netns exec $ns unshare -m -u --propagation private sh -c "hostname $ns &&
      mount -t tmpfs none /run/dbus && mkdir -p /run/avahi-daemon && mount -t tmpfs none /run/avahi-daemon &&
      exec sleep infinity" &
    holder[$ns]=$!
    wait_for 5 "[ \"\$(cat /proc/${holder[$ns]}/comm)\" = sleep ]" || { echo "no namespace holder for $ns"; exit 1; }
  done
}
# in_site NS COMMAND...: runs COMMAND in that side's namespaces.
in_site() { nsenter -t ${holder[$1]} -m -u -n -- "${@:2}"; }
start_avahi() { in_site $1 avahi-daemon --no-drop-root --no-chroot -D; }
kill_avahi() { kill -KILL "$(in_site $1 cat /run/avahi-daemon/pid)"; in_site $1 rm -f /run/avahi-daemon/pid; }

# start_host NAME NS ARGUMENTS...: the host program in NS (none: here, with
# no system bus to be seen), its commands through a pipe, its lines in
# $work/NAME.
start_host() {
  local name=$1 ns=$2
  mkfifo "$work/$name.in"
  if [ $ns = none ]; then
    unshare -m --propagation private sh -c 'mount -t tmpfs none /run/dbus && exec "$0" "$@"' "$host_program" "${@:3}" \
      <"$work/$name.in" >"$work/$name" 2>"$work/$name.err" &
  else
    nsenter -t ${holder[$ns]} -m -u -n -- "$host_program" "${@:3}" <"$work/$name.in" >"$work/$name" 2>"$work/$name.err" &
  fi
  pid[$name]=$!
  exec {input[$name]}>"$work/$name.in"
  wait_for 10 "grep -qx ready '$work/$name'"
}
tell() { echo "$2" >&${input[$1]}; }
# stop_host NAME: "quit"; true when the program ends cleanly by itself.
stop_host() {
  tell $1 quit
  wait ${pid[$1]}
  local status=$?
  unset "pid[$1]"
  return $status
}
said() { grep -qxF "$2" "$work/$1"; }
last_published() { sed -n 's/^published //p' "$work/$1" | tail -n 1; }
# The latest list the host NAME printed, one "game" line a game.
latest_list() { awk '/^games /{n = 0; next} /^game\t/{list[n++] = $0} END{for (i = 0; i < n; i++) print list[i]}' "$work/$1"; }
# listed NAME GAME ADDRESS PORT INTERFACE
listed() { latest_list $1 | grep -qxF "$(printf 'game\t%s\t%s\t%s\t%s' "${@:2}")"; }
list_size() { [ "$(latest_list $1 | wc -l)" -eq $2 ] && grep -q '^games ' "$work/$1"; }

make_network
for ns in $a $b; do in_site $ns dbus-daemon --system --fork && start_avahi $ns || exit 1; done

start_host browser $b --browse
japanese=はなこ markup='<b>markup</b>'
started_at=$(now_ms)
start_host japanese $a --publish $japanese 9898
wait_for 10 "said japanese 'published $japanese'" && published_at=$(now_ms)
if wait_for 10 "listed browser $japanese $address_a 9898 vb"; then
  listed_at=$(now_ms)
  echo "measured: publishing to listed in the other namespace: $((listed_at - started_at)) ms" \
    "(announced after $((${published_at:-$listed_at} - started_at)) ms of the daemon probing for a clash," \
    "listed $((listed_at - ${published_at:-$started_at})) ms after that)"
  echo "ok: listed with the announcing side's IPv4 address, the port and the Japanese name"
else
  echo "FAILED: a game announced on the other side is listed"; failed=1
fi
start_host markup $a --publish "$markup" 9899
check "a name that looks like markup is listed as the same plain text" \
  "wait_for 10 'listed browser \"\$markup\" $address_a 9899 vb'"

withdrawn_at=$(now_ms)
tell japanese withdraw
if wait_for 10 "! listed browser $japanese $address_a 9898 vb && list_size browser 1"; then
  echo "measured: withdrawn to gone from the other namespace's list: $(($(now_ms) - withdrawn_at)) ms"
  echo "ok: a withdrawn game leaves the list"
else
  echo "FAILED: a withdrawn game leaves the list"; failed=1
fi

# Two games of one name clash on the network and one is renamed. Mostly the
# second yields; when the first answers its probe late, the first does.
start_host twin_a $a --publish twin 9900
check "the first of two games with one name takes it" "wait_for 10 'said twin_a \"published twin\"'"
start_host twin_b $b --publish twin 9901
names() { echo "$(last_published twin_a),$(last_published twin_b)"; }
check "the clash is settled by renaming one of them" \
  "wait_for 10 '[ \"\$(names)\" = \"twin,twin #2\" ] || [ \"\$(names)\" = \"twin #2,twin\" ]'"
twins_listed() {
  listed browser "$(last_published twin_a)" $address_a 9900 vb && listed browser "$(last_published twin_b)" $address_b 9901 vb
}
check "both are listed, each under its name" "wait_for 10 twins_listed"

kill_avahi $b
check "the browser's daemon killed: the list empties" "wait_for 10 'list_size browser 0'"
sleep 1
start_avahi $b
check "the browser's daemon back: the list fills again, its own side's game republished" \
  "wait_for 15 'list_size browser 3 && twins_listed'"

# A killed daemon says no goodbye, and the other side keeps its games until
# their records expire; one stopped as at shutdown says goodbye.
in_site $a avahi-daemon -k
check "the announcing daemon stopped: its games leave the list" "wait_for 10 'list_size browser 1'"
start_avahi $a
check "the announcing daemon back: its games are announced again" \
  "wait_for 15 'list_size browser 3 && listed browser \"\$markup\" $address_a 9899 vb'"

for name in japanese markup twin_a twin_b; do
  check "$name: ends cleanly on quit" "stop_host $name"
done
check "games leave the list when their programs end" "wait_for 10 'list_size browser 0'"
check "browser: ends cleanly on quit" "stop_host browser"

# No system bus and no daemon at all: both sides run, list and announce
# nothing, and end; long enough for a second try at the bus.
start_host alone none --browse --publish alone 9898
sleep 4
check "no bus: nothing listed, nothing announced" "! grep -q '^game\\|^published' '$work/alone'"
check "no bus: ends cleanly on quit" "stop_host alone"

[ $failed -eq 0 ] || for f in "$work"/*.err; do echo "--- $f"; cat "$f"; done
exit $failed
