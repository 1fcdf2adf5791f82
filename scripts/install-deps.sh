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
  # tests: Debian 12's real desktop portal stack for KDE (frontend, backend, kglobalaccel)
  xdg-desktop-portal xdg-desktop-portal-kde libkf5globalaccel-bin
  # packaging checks
  desktop-file-utils appstream lintian file time bc
  # translations: catalogues, and the zh_CN locale the tests run under
  gettext locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# gettext translates nothing under C or C.UTF-8: the translation tests need
# zh_CN.UTF-8, which a fresh machine may lack. Only that locale is made.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "Generating the zh_CN.UTF-8 locale"
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
