#!/usr/bin/env bash
# The game as server behind a home router, in three network namespaces: the
# inside host runs the game, the router does NAT with miniupnpd (NAT-PMP and
# UPnP IGD, nftables backend) and lets in from outside only what is
# forwarded, and the outside host dials the address the game shows. Cases:
# forwarding by NAT-PMP and by UPnP, a port another machine holds already, a
# router that refuses, and none at all.
# Needs root for the namespaces; without it the test reports itself skipped.
# Usage: port_forwarding_test.sh HOST_PROGRAM
set -uo pipefail
export PATH=$PATH:/usr/sbin:/sbin
skip() { echo "SKIPPED: $*"; exit 77; }
host_program=$1
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
failed=0 router_pid= game=
cleanup() {
  [ -n "$router_pid" ] && kill $router_pid 2>/dev/null
  [ -n "$game" ] && kill -KILL $game 2>/dev/null
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

# start_router NATPMP RULE: miniupnpd in the foreground, with NAT-PMP on
# (yes) or off (no), permitting by RULE.
start_router() {
  cat >"$work/miniupnpd.conf" <<CONF
ext_ifname=wan1
listening_ip=lan1
http_port=0
enable_natpmp=$1
enable_upnp=yes
secure_mode=yes
system_uptime=yes
uuid=3d3cec3a-8cf0-11e0-98ee-001a6bd2d07b
upnp_table_name=miniupnpd
upnp_nat_table_name=miniupnpd
$2
deny 0-65535 0.0.0.0/0 0-65535
CONF
  ip netns exec $router miniupnpd -f "$work/miniupnpd.conf" -d -P "$work/miniupnpd.pid" >"$work/miniupnpd.log" 2>&1 &
  router_pid=$!
  wait_for 5 'grep -qs "HTTP listening on port" "$work/miniupnpd.log"' || { cat "$work/miniupnpd.log"; return 1; }
}

stop_router() {
  kill $router_pid
  wait $router_pid
  router_pid=
}

mapped() { [[ "$(in_ns $router nft list chain inet miniupnpd prerouting_miniupnpd)" == *"dport $port "* ]]; }

# The game as server on the inside host; its lines go to $work/lines.
start_game() {
  : >"$work/lines"
  ip netns exec $inside "$host_program" "$nickname" $port >"$work/lines" 2>"$work/game.err" &
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
# serve NATPMP RULE: a router as start_router starts it, and the game behind it.
serve() { start_router "$@" || exit 1; start_game; }

# The raw peer on the outside host: greets and prints the answer.
greet_from_outside() {
  in_ns $outside timeout 5 bash -c "exec 3<>/dev/tcp/$external/$port && printf '|Cnnct x' >&3 && head -c 13 <&3"
}

make_network
allowed="allow 1024-65535 $lan.0/24 1024-65535"
shown="☆☆☆　インターネットから：$external:$port　☆☆☆"

serve yes "$allowed"
check "NAT-PMP: the address to give is shown" "line_shown '$shown'"
check "NAT-PMP: the router holds the mapping" mapped
check "NAT-PMP: the outside peer is answered with the nickname" '[ "$(greet_from_outside)" = "|SName $nickname" ]'
check "NAT-PMP: the mapping goes when the connection ends" "wait_for 10 '! mapped'"
check "NAT-PMP: SIGTERM ends the game cleanly" end_game
stop_router

# Many routers speak only UPnP. miniupnpd's NAT-PMP searches every other
# port before it refuses, so refusal is tried by UPnP.
serve no "$allowed"
check "UPnP: the address to give is shown" "line_shown '$shown'"
check "UPnP: the router holds the mapping" mapped
check "UPnP: SIGTERM ends the game, which gives the mapping back" 'end_game && ! mapped'
stop_router

# Another machine on the network holds the port already: UPnP leaves its
# mapping alone, NAT-PMP is given another outside port.
in_ns $router nft add rule inet miniupnpd prerouting_miniupnpd \
  iif wan1 ip protocol tcp tcp dport $port dnat ip to $lan.3:$port
serve no "$allowed"
check "taken: said so" "line_shown '☆☆☆　ポート開放：ルータのこのポートは別のパソコンが使っています　☆☆☆'"
check "taken: the other machine's mapping stays" 'end_game && mapped'
stop_router
serve yes "$allowed"
check "taken: NAT-PMP gives another port" "line_shown '☆☆☆　インターネットから：$external:$((port + 1))　☆☆☆'"
check "taken: NAT-PMP gives it back" 'end_game && [ "$(in_ns $router nft list chain inet miniupnpd prerouting_miniupnpd | grep -c dnat)" -eq 1 ]'
stop_router
in_ns $router nft flush chain inet miniupnpd prerouting_miniupnpd

serve no "deny 0-65535 $lan.0/24 0-65535"
check "refused: said so" "line_shown '☆☆☆　ポート開放：ルータに断られました　☆☆☆'"
check "refused: nothing is mapped" '! mapped'
check "refused: the game ends cleanly" end_game
stop_router

start_game
check "no router: said so" "line_shown '☆☆☆　ポート開放：応答するルータがありません　☆☆☆'"
check "no router: the game ends cleanly" end_game

[ $failed -eq 0 ] || { echo "--- game stderr"; cat "$work/game.err"; echo "--- miniupnpd"; cat "$work/miniupnpd.log"; }
exit $failed
