#!/usr/bin/env bash
# A game found on the local network through real Avahi daemons. Two network
# namespaces joined by a veth pair stand for two computers; each has its own
# system bus and avahi-daemon in a private mount and host-name namespace.
# The server's window announces its game; the client's dialog lists it (the
# time that takes is printed), picking it connects, and the game is then
# withdrawn from the network. With no system bus at all the server still
# serves and answers a rival.
# Needs root for the namespaces; without it, or without avahi-daemon, the
# test reports itself skipped.
# Usage: lan_games_test.sh HOST_PROGRAM
set -uo pipefail
export PATH=$PATH:/usr/sbin:/sbin
skip() { echo "SKIPPED: $*"; exit 77; }
host_program=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || skip "creating network namespaces needs root"
for tool in ip unshare nsenter dbus-daemon avahi-daemon avahi-browse; do
  command -v $tool >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done

run=lg$$
a=${run}a b=${run}b
address_a=10.77.0.1 port=9898 game='はなこ<b>'
work=$(mktemp -d)
failed=0
declare -A holder pid
cleanup() {
  for name in "${!pid[@]}"; do { kill -KILL ${pid[$name]} && wait ${pid[$name]}; } 2>/dev/null; done
  for ns in $a $b; do
    ip netns pids $ns 2>/dev/null | xargs -r kill -KILL
    ip netns del $ns 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
# wait_for SECONDS COMMAND: until COMMAND succeeds, polling.
wait_for() {
  local end=$((SECONDS + $1))
  until eval "$2"; do [ $SECONDS -lt $end ] || return 1; sleep 0.02; done
}

# The veth pair, then per side a process that holds a private mount and
# host-name namespace with an empty /run/dbus and /run/avahi-daemon.
ip netns add $a 2>/dev/null && ip netns add $b 2>/dev/null || skip "cannot create network namespaces"
ip link add va netns $a type veth peer name vb netns $b
ip -n $a addr add $address_a/24 dev va
ip -n $b addr add 10.77.0.2/24 dev vb
for side in $a:va $b:vb; do ip -n ${side%%:*} link set ${side#*:} up; done
for ns in $a $b; do
  ip netns exec $ns unshare -m -u --propagation private sh -c "hostname $ns &&
    mount -t tmpfs none /run/dbus && mkdir -p /run/avahi-daemon && mount -t tmpfs none /run/avahi-daemon &&
    exec sleep infinity" &
  holder[$ns]=$!
  disown
  wait_for 5 "[ \"\$(cat /proc/${holder[$ns]}/comm)\" = sleep ]" || { echo "no namespace holder for $ns"; exit 1; }
done
in_site() { nsenter -t ${holder[$1]} -m -u -n -- "${@:2}"; }
# start_window NAME NS ARGUMENTS...: a game window in NS, its lines in $work/NAME.
start_window() {
  in_site $2 "$host_program" "${@:3}" >"$work/$1" 2>"$work/$1.err" &
  pid[$1]=$!
}
said() { grep -qF "$2" "$work/$1"; }
# The games avahi-browse sees from NS, one line each.
announced() { in_site $1 avahi-browse -ptr _torvane._tcp 2>/dev/null | grep -c '^='; }

for ns in $a $b; do in_site $ns dbus-daemon --system --fork && in_site $ns avahi-daemon --no-drop-root --no-chroot -D || exit 1; done

start_window server $a serve "$game" $port
wait_for 10 "said server 'サーバできたよ'" || { echo "FAILED: the server did not listen"; exit 1; }
start_window client $b join hanako "$game"
if wait_for 10 "said client 'found '"; then
  echo "measured: the server's game listed in the other namespace's dialog after $(sed -n 's/^found .* //p' "$work/client") ms"
fi
check "listed as plain text with the server's address and port" "said client 'found $game（$address_a:$port）'"
check "picking it joins the server" "wait_for 10 'said client \"rival $game\" && said server \"rival hanako\"'"
check "the game is withdrawn once a rival has come" "wait_for 10 '[ \$(announced $b) -eq 0 ]'"
kill ${pid[server]} ${pid[client]}

# No system bus: nothing to announce to, and nothing waits on it.
unshare -m --propagation private sh -c 'mount -t tmpfs none /run/dbus && exec "$0" "$@"' \
  "$host_program" serve alone 9899 >"$work/alone" 2>"$work/alone.err" &
pid[alone]=$!
wait_for 10 "said alone 'サーバできたよ'"
check "no bus: the server answers a rival" \
  "[ \"\$(timeout 5 bash -c 'exec 3<>/dev/tcp/127.0.0.1/9899 && printf \"|Cnnct x\" >&3 && head -c 12 <&3')\" = '|SName alone' ]"

[ $failed -eq 0 ] || for f in "$work"/*; do echo "--- $f"; cat "$f"; done
exit $failed
