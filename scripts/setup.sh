#!/usr/bin/env bash
# Installs every Debian package the dock needs to build, run and be tested,
# or only the packages named on its command line.
# Does nothing (fast) when all of them are already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format git procps
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev libqt6opengl6-dev
  libgl-dev libx11-dev libxcb1-dev libxcb-damage0-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-ipafont-gothic adwaita-icon-theme hicolor-icon-theme shared-mime-info
  xvfb xauth xdotool x11-utils x11-xserver-utils openbox xcompmgr imagemagick
  x11-session-utils libglib2.0-dev
  clang libclang-rt-14-dev llvm
  # The Win32 adapters: cross-built with mingw-w64 (its POSIX-thread
  # compilers) and tested under Wine.
  g++-mingw-w64-x86-64-posix wine64
  # The Debian package: its build (CPack, dpkg-shlibdeps) and its checks.
  dpkg-dev file lintian desktop-file-utils appstream man-db
)
if (($#)); then packages=("$@"); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
