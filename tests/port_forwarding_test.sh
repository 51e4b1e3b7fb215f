#!/usr/bin/env bash
# The game as server behind a home router, in three network namespaces: the
# inside host runs the game, the router does NAT with miniupnpd (NAT-PMP and
# UPnP IGD, nftables backend) and lets in from outside only what is
# forwarded, and the outside host dials the address the game shows. Cases:
# forwarding by NAT-PMP and by UPnP, an outside rival whose link vanishes, a
# port another machine holds already, a router that refuses, and none at all; a router that restarts during the
# game (NAT-PMP and UPnP), a game killed before it could give the port back,
# and a device that passes for a router and stalls or floods the game's
# router helper.
# Needs root for the namespaces; without it the test reports itself skipped.
# Usage: port_forwarding_test.sh HOST_PROGRAM BAD_ROUTER_SCRIPT
set -uo pipefail
export PATH=$PATH:/usr/sbin:/sbin
skip() { echo "SKIPPED: $*"; exit 77; }
host_program=$1 bad_router=$2
[ "$(id -u)" -eq 0 ] || skip "creating network namespaces needs root"
for tool in ip nft miniupnpd; do
  command -v $tool >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done

run=tv$$
inside=${run}in router=${run}rt outside=${run}out
lan=192.168.77 wan=81.4.0 port=9898 nickname=hanako
# miniupnpd will not serve with a private or reserved outside address, so
# the router's looks public; nothing leaves the namespaces.
external=$wan.1
work=$(mktemp -d)
failed=0 router_pid= game= greeter= bad_router_pid=
cleanup() {
  [ -n "$router_pid" ] && kill $router_pid 2>/dev/null
  [ -n "$game" ] && kill -KILL $game 2>/dev/null
  [ -n "$greeter" ] && kill $greeter 2>/dev/null
  [ -n "$bad_router_pid" ] && kill $bad_router_pid 2>/dev/null
  for ns in $inside $router $outside; do ip netns del $ns 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
# wait_for SECONDS COMMAND: until COMMAND succeeds, polling.
wait_for() {
  local end=$((SECONDS + $1))
  until eval "$2"; do [ $SECONDS -lt $end ] || return 1; sleep 0.05; done
}
# Started in the background with `ip netns exec` itself, never through this
# function, so that $! is the program's own process.
in_ns() { ip netns exec "$@"; }

make_network() {
  for ns in $inside $router $outside; do ip netns add $ns 2>/dev/null || skip "cannot create network namespaces"; done
  ip link add lan0 netns $inside type veth peer name lan1 netns $router
  ip link add wan0 netns $outside type veth peer name wan1 netns $router
  in_ns $inside ip addr add $lan.2/24 dev lan0
  in_ns $router ip addr add $lan.1/24 dev lan1
  in_ns $router ip addr add $external/24 dev wan1
  in_ns $outside ip addr add $wan.2/24 dev wan0
  for pair in $inside:lan0 $router:lan1 $router:wan1 $outside:wan0; do
    in_ns ${pair%%:*} ip link set ${pair#*:} up
    in_ns ${pair%%:*} ip link set lo up
  done
  in_ns $inside ip route add default via $lan.1
  in_ns $router sysctl -qw net.ipv4.ip_forward=1
  # Masquerading outwards; inwards only what miniupnpd forwards, in the
  # table and chains its configuration names.
  in_ns $router nft -f - <<NFT
table ip home_nat {
  chain postrouting { type nat hook postrouting priority 100; oifname "wan1" masquerade; }
}
table inet miniupnpd {
  chain forward {
    type filter hook forward priority 0; policy drop;
    ct state established,related accept
    iifname "lan1" accept
    jump miniupnpd
  }
  chain miniupnpd { }
  chain prerouting { type nat hook prerouting priority -100; jump prerouting_miniupnpd; }
  chain postrouting { type nat hook postrouting priority 100; jump postrouting_miniupnpd; }
  chain prerouting_miniupnpd { }
  chain postrouting_miniupnpd { }
}
NFT
}

# start_router NATPMP RULE [SETTING...]: miniupnpd in the foreground, with
# NAT-PMP on (yes) or off (no), permitting by RULE, with further settings.
# It reports the system's uptime as its NAT-PMP epoch unless a setting says
# otherwise, so that its restarts show only in other ways.
start_router() {
  local natpmp=$1 rule=$2
  shift 2
  cat >"$work/miniupnpd.conf" <<CONF
ext_ifname=wan1
listening_ip=lan1
http_port=0
enable_natpmp=$natpmp
enable_upnp=yes
secure_mode=yes
system_uptime=${system_uptime:-yes}
uuid=3d3cec3a-8cf0-11e0-98ee-001a6bd2d07b
upnp_table_name=miniupnpd
upnp_nat_table_name=miniupnpd
$(printf '%s\n' "$@")
$rule
deny 0-65535 0.0.0.0/0 0-65535
CONF
  launch_router
}

# launch_router: miniupnpd as start_router configured it last.
launch_router() {
  ip netns exec $router miniupnpd -f "$work/miniupnpd.conf" -d -P "$work/miniupnpd.pid" >"$work/miniupnpd.log" 2>&1 &
  router_pid=$!
  wait_for 5 'grep -qs "HTTP listening on port" "$work/miniupnpd.log"' || { cat "$work/miniupnpd.log"; return 1; }
}

stop_router() {
  kill $router_pid
  wait $router_pid
  router_pid=
}

# crash_router: the router goes down the way a power cut takes it: no
# goodbye, and the forwards it held gone with it.
crash_router() {
  kill -KILL $router_pid
  wait $router_pid 2>/dev/null
  router_pid=
  for chain in miniupnpd prerouting_miniupnpd postrouting_miniupnpd; do
    in_ns $router nft flush chain inet miniupnpd $chain
  done
}

mapped() { [[ "$(in_ns $router nft list chain inet miniupnpd prerouting_miniupnpd)" == *"dport $port "* ]]; }

# start_game [CHECK_MS LEASE_SECONDS]: the game as server on the inside
# host, checking the mapping that often and asking for it that long; its
# lines go to $work/lines.
start_game() {
  : >"$work/lines"
  ip netns exec $inside "$host_program" serve "$nickname" $port "$@" >"$work/lines" 2>"$work/game.err" &
  game=$!
}
# end_game: SIGTERM, as at logout; the game must end by itself, cleanly.
end_game() {
  kill -TERM $game
  wait $game
  local status=$?
  game=
  return $status
}
line_shown() { wait_for 15 "grep -qxF '$1' '$work/lines'"; }
# shown_after SECONDS FIRST THEN: within SECONDS, line THEN below line FIRST.
shown_after() {
  wait_for $1 "awk -v a='$2' -v b='$3' '\$0 == a { seen = 1; next } seen && \$0 == b { found = 1 } END { exit !found }' '$work/lines'"
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# The most memory the game has held, in KiB.
peak_kib() { awk '/^VmHWM:/ { print $2 }' /proc/$game/status; }
# serve NATPMP RULE: a router as start_router starts it, and the game behind it.
serve() { start_router "$@" || exit 1; start_game; }

# ends_within_2s WHAT: SIGTERM ends the game cleanly within 2 s; says how
# long it took.
ends_within_2s() {
  local start=$(now_ms)
  end_game || return 1
  local took=$(($(now_ms) - start))
  echo "measured: $1: the game ended $took ms after SIGTERM"
  [ $took -lt 2000 ]
}

# greet_and_hold NAMESPACE ADDRESS: a raw peer there greets the game and
# keeps the connection, so that the game stays a server with its router
# helper; true once the game has answered with its nickname.
greet_and_hold() {
  in_ns $1 timeout 90 bash -c \
    "exec 3<>/dev/tcp/$2/$port && printf '|Cnnct x' >&3 && head -c 13 <&3 && sleep 90" >"$work/greeting" &
  greeter=$!
  wait_for 5 '[ "$(cat "$work/greeting")" = "|SName $nickname" ]'
}

make_network
allowed="allow 1024-65535 $lan.0/24 1024-65535"
shown="☆☆☆　インターネットから：$external:$port　☆☆☆"

serve yes "$allowed"
check "NAT-PMP: the address to give is shown" "line_shown '$shown'"
check "NAT-PMP: the router holds the mapping" mapped
check "NAT-PMP: the outside peer is answered with the nickname" "greet_and_hold $outside $external"
# The outside peer's link goes down without a word (cable out, Wi-Fi gone):
# the game notices within a minute, with nothing sent on the wire for it.
in_ns $outside ip link set wan0 down
vanished=$SECONDS
check "vanished: the rival's loss is noticed" "wait_for 60 \"grep -qxF '☆☆☆　切断されました　☆☆☆' '$work/lines'\""
echo "measured: the vanished rival was noticed after $((SECONDS - vanished)) s (limit 60 s)"
in_ns $outside ip link set wan0 up
kill $greeter 2>/dev/null
greeter=
check "NAT-PMP: the mapping goes when the connection ends" "wait_for 10 '! mapped'"
check "NAT-PMP: SIGTERM ends the game cleanly" "ends_within_2s 'NAT-PMP, nothing held'"
stop_router

# Many routers speak only UPnP. miniupnpd's NAT-PMP searches every other
# port before it refuses, so refusal is tried by UPnP.
serve no "$allowed"
check "UPnP: the address to give is shown" "line_shown '$shown'"
check "UPnP: the router holds the mapping" mapped
check "UPnP: SIGTERM ends the game, which gives the mapping back" "ends_within_2s 'UPnP, mapping held' && ! mapped"
stop_router

# Another machine on the network holds the port already: UPnP leaves its
# mapping alone.
in_ns $router nft add rule inet miniupnpd prerouting_miniupnpd \
  iif wan1 ip protocol tcp tcp dport $port dnat ip to $lan.3:$port
serve no "$allowed"
check "taken: said so" "line_shown '☆☆☆　ポート開放：ルータのこのポートは別のパソコンが使っています　☆☆☆'"
check "taken: the other machine's mapping stays" 'end_game && mapped'
stop_router
in_ns $router nft flush chain inet miniupnpd prerouting_miniupnpd

serve no "deny 0-65535 $lan.0/24 0-65535"
check "refused: said so" "line_shown '☆☆☆　ポート開放：ルータに断られました　☆☆☆'"
check "refused: nothing is mapped" '! mapped'
check "refused: the game ends cleanly" end_game
stop_router

lost="☆☆☆　ポート開放：ルータの転送が切れました　開け直しています　☆☆☆"
# back_after START WHAT: the lost line and then the address again, within
# the time a test can wait; says how long after START it took.
back_after() {
  shown_after 20 "$lost" "$shown" && mapped || return 1
  echo "measured: $2: the port forwarded again $(($(now_ms) - $1)) ms after the router came back"
}

# A router that restarts loses its forwards. Over NAT-PMP the game hears it
# announce itself and checks at once: the renewal re-creates the mapping and
# the router's epoch, which starts again from 0 here, shows it had been
# lost. The periodic check is too far off to be what finds it.
system_uptime=no serve yes "$allowed"
line_shown "$shown"
# The epoch must grow past NAT-PMP's 2 s of slack before it can go back.
sleep 5
crash_router
launch_router
check "restart, NAT-PMP: the lost line, then the address again" "back_after $(now_ms) 'NAT-PMP, announced'"
check "restart, NAT-PMP: the game gives the mapping back" "ends_within_2s 'NAT-PMP, mapping held' && ! mapped"
stop_router

# A UPnP router sends no announcement and comes back on another HTTP port:
# the check finds the old address dead and the game searches again.
start_router no "$allowed"
start_game 1000 1200
line_shown "$shown"
crash_router
launch_router
check "restart, UPnP: the lost line, then the address again" "back_after $(now_ms) 'UPnP, checked'"
check "restart, UPnP: the game gives the mapping back" 'end_game && ! mapped'
stop_router

# Renewals keep a short lease alive; a killed game renews nothing, and the
# router lets the mapping lapse. Over NAT-PMP and over UPnP.
for natpmp in yes no; do
  start_router $natpmp "$allowed" min_lifetime=1 max_lifetime=60
  start_game 1000 4
  line_shown "$shown"
  sleep 6
  check "killed, NAT-PMP $natpmp: renewed past its lease while the game runs, never lost" \
    "mapped && ! grep -qxF '$lost' '$work/lines'"
  kill -KILL $game
  wait $game 2>/dev/null
  game=
  killed=$(now_ms)
  check "killed, NAT-PMP $natpmp: the mapping lapses with its lease" "wait_for 15 '! mapped'"
  echo "measured: NAT-PMP $natpmp: the mapping lapsed $(($(now_ms) - killed)) ms after the game was killed"
  stop_router
done

start_game
check "no router: said so" "line_shown '☆☆☆　ポート開放：応答するルータがありません　☆☆☆'"
baseline=$(peak_kib)
check "no router: the game ends cleanly" end_game

# A device that passes for a router answers UPnP's search, then serves its
# description a byte a second, or 300 MiB of it. The game's router helper is
# stuck or flooded; the game is neither: it answers a peer, holds no more
# memory than without a router, and ends at once.
for mode in trickle huge; do
  in_ns $router "$bad_router" $mode $lan.1 >"$work/bad_router.log" 2>&1 &
  bad_router_pid=$!
  start_game
  check "$mode: the description is asked for" "wait_for 10 'grep -qx asked \"$work/bad_router.log\"'"
  sleep 1
  check "$mode: the game answers a peer meanwhile" "greet_and_hold $inside 127.0.0.1"
  echo "measured: $mode: the game's peak memory $(peak_kib) KiB, without a router $baseline KiB"
  check "$mode: the game holds at most 16 MiB more than without a router" '[ $(peak_kib) -lt $((baseline + 16384)) ]'
  check "$mode: SIGTERM ends the game within 2 s" "ends_within_2s $mode"
  kill $greeter $bad_router_pid 2>/dev/null
  wait $greeter $bad_router_pid 2>/dev/null
  greeter=
done

[ $failed -eq 0 ] || { echo "--- game stderr"; cat "$work/game.err"; echo "--- miniupnpd"; cat "$work/miniupnpd.log"; }
exit $failed
