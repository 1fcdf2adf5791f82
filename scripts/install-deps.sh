#!/usr/bin/env bash
# Installs the Debian 12 packages that bbcolour needs to build, run and test.
# Idempotent: when everything is there it only checks and returns.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config libgmp-dev libicu-dev googletest libgtest-dev libbenchmark-dev
  # fuzzing (libFuzzer)
  clang libclang-rt-14-dev
  # desktop window
  qt6-base-dev qt6-webengine-dev libxcb1-dev libgl-dev fonts-noto-cjk
  # tests and screenshots: a virtual display, a window manager, X tools, a session bus
  xvfb xauth openbox x11-utils x11-xserver-utils xdotool xclip imagemagick dbus python3 strace
  # packaging checks
  desktop-file-utils appstream lintian file time bc
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
