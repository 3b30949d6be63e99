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
  # The translations of the program's texts: lupdate and lrelease.
  qt6-l10n-tools
  # The Win32 adapters: cross-built with mingw-w64 (its POSIX-thread
  # compilers) and tested under Wine.
  g++-mingw-w64-x86-64-posix wine64
  # The Debian package: its build (CPack, dpkg-shlibdeps) and its checks.
  dpkg-dev file lintian desktop-file-utils appstream man-db
  # The dock as a layer surface of a Wayland compositor: the client library
  # and its code generator, Qt's Wayland platform and its private headers; a
  # headless compositor, its screenshots and keys for the tests.
  libwayland-dev libwayland-bin wayland-protocols qt6-base-private-dev qt6-wayland
  sway grim wtype
  # GNOME's compositor and weston, headless, for the dock through their Xwayland.
  mutter weston xwayland dbus-daemon
  # The accessibility bus and a client that reads the dock through it.
  at-spi2-core python3-pyatspi dbus
)
all=1
if (($#)); then packages=("$@"); all=0; fi

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

# The Wayland protocol the layer-surface mode is built from, and the virtual
# pointer protocol its test clicks with: no binary package ships them, the
# compositor library's source package does (MIT licence). They are kept in a
# cache outside the checkout, which CMake looks in; fetched once.
fetch_protocols() {
  local dir files=(wlr-layer-shell-unstable-v1.xml wlr-virtual-pointer-unstable-v1.xml)
  if [[ $(id -u) -eq 0 ]]; then dir=/var/cache/pondwillow/protocols; else dir=${PW_CACHE:-$HOME/.cache/pondwillow}/protocols; fi
  local f have=1
  for f in "${files[@]}"; do [[ -s "$dir/$f" ]] || have=0; done
  ((have)) && return 0
  if ! apt-cache showsrc wlroots 2>/dev/null | grep -q '^Version:'; then
    [[ $(id -u) -eq 0 ]] || { echo "setup: no Wayland protocol files (run as root once to fetch them)" >&2; return 0; }
    local suites uri
    suites=$(awk '/^Suites:/{ $1=""; print; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    uri=$(awk '/^URIs:/{ print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "${uri:-http://deb.debian.org/debian}" "${suites:- bookworm}" >/etc/apt/sources.list.d/pondwillow-src.sources
    apt-get update -qq
  fi
  local work
  work=$(mktemp -d)
  (cd "$work" && apt-get source -qq --download-only wlroots >/dev/null 2>&1) || { rm -rf "$work"; echo "setup: could not fetch wlroots' source" >&2; return 1; }
  local f_tar
  f_tar=$(ls "$work"/wlroots_*.orig.tar.* | head -n 1)
  mkdir -p "$dir"
  for f in "${files[@]}"; do
    tar -xOf "$f_tar" --wildcards "*/protocol/$f" >"$work/$f"
    [[ -s "$work/$f" ]] || { rm -rf "$work"; echo "setup: $f is not in $f_tar" >&2; return 1; }
    mv "$work/$f" "$dir/$f"
  done
  rm -rf "$work"
  echo "setup: Wayland protocol files in $dir"
}
if ((all)); then fetch_protocols; fi
