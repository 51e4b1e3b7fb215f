#!/usr/bin/env bash
# Installs the Debian packages the game, its tests, its package and its tools
# need, and only those that are missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config file
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libbenchmark-dev clang libclang-rt-14-dev clang-format git
  fonts-rocknroll fonts-noto-cjk fonts-ipafont-gothic
  # Forwarding the server's port on the home router, and the router of its
  # test. miniupnpd-nftables is the bare daemon: unlike the miniupnpd package
  # it asks no debconf questions and installs no service that would start.
  libnatpmp-dev libminiupnpc-dev miniupnpd-nftables nftables iproute2
  # Finding games on the local network through the Avahi daemon: the client
  # library, the daemon and system bus its test starts by itself (no init
  # system needs to run), and avahi-browse to look at the network by hand.
  libavahi-client-dev avahi-daemon avahi-utils dbus-daemon
  lintian appstream desktop-file-utils
  # The game read as a screen reader reads it: an X server, the AT-SPI bus
  # and registry, and AT-SPI for the system's Python.
  xvfb xauth at-spi2-core python3-gi gir1.2-atspi-2.0
)
if [ "${1:-}" = "--with-screenshot" ]; then
  packages+=(imagemagick x11-utils xdotool python3)
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
