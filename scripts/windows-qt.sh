#!/usr/bin/env bash
# Builds Qt for Windows (Core, Gui, Widgets, the windows platform plugin and
# the image readers) from Debian's own qtbase source with Debian's mingw-w64,
# using the host tools of the installed Qt of the same version. Shared,
# release. Installs into a cache folder outside the checkout and prints its
# path on the last line; does nothing when that folder already holds the same
# build (a stamp with the source package's version, the compiler's version
# and this configure line).
#
# Usage: bash scripts/windows-qt.sh [--cached]   (as root the first time)
#   --cached: only print the cached build's path; exit 3 when there is none.
# Environment: PW_CACHE (default ~/.cache/pondwillow), JOBS (nproc).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${PW_CACHE:-$HOME/.cache/pondwillow}
jobs=${JOBS:-$(nproc)}
cached_only=0
[[ "${1:-}" == "--cached" ]] && cached_only=1

# The source: Debian's qtbase, as the suite apt already uses ships it.
src_list=/etc/apt/sources.list.d/pondwillow-src.sources
if ((cached_only)) && ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version:'; then
  exit 3
fi
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version:'; then
  [[ $(id -u) -eq 0 ]] || { echo "windows-qt: run as root once (adds a deb-src line)" >&2; exit 1; }
  suites=$(awk '/^Suites:/{ $1=""; print; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  uri=$(awk '/^URIs:/{ print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "${uri:-http://deb.debian.org/debian}" "${suites:- bookworm}" >"$src_list"
  apt-get update -qq
fi
((cached_only)) || bash "$root/scripts/setup.sh"
version=$(apt-cache showsrc qt6-base | awk '/^Version:/{ print $2; exit }')
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)

configure=(-release -shared -xplatform win32-g++
  -device-option CROSS_COMPILE=x86_64-w64-mingw32- -qt-host-path /usr
  -nomake tests -nomake examples
  -no-opengl -no-dbus -no-icu -no-zstd -no-vulkan -no-libjpeg -no-gif
  -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre
  -no-feature-sql -no-feature-network -no-feature-printsupport -no-feature-xml
  -no-feature-concurrent -no-feature-testlib -no-feature-tabletevent
  -no-feature-androiddeployqt -no-feature-direct2d -no-feature-sql-sqlite)
stamp_text="qt6-base $version; $compiler; ${configure[*]}; patch: directwrite without direct2d"
prefix="$cache/qt-$version-mingw"
if [[ -f "$prefix/.pondwillow-stamp" && $(cat "$prefix/.pondwillow-stamp") == "$stamp_text" ]]; then
  echo "$prefix"
  exit 0
fi
((cached_only)) && exit 3

work="$cache/qt-build"
rm -rf "$work" "$prefix"
mkdir -p "$work"
# apt-get source unpacks it with Debian's patches applied, as Debian ships it.
(cd "$work" && apt-get source -qq qt6-base >/dev/null 2>&1)
mv "$work"/qt6-base-*/ "$work/src"
# One patch of ours: without Direct2D (which the dock does not use) Qt 6.4
# builds no DirectWrite font database, yet the windows platform plugin still
# refers to it when DirectWrite 3 is on, and fails to link.
sed -i 's|^#if QT_CONFIG(directwrite3)$|#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)|' \
  "$work/src/src/plugins/platforms/windows/qwindowsintegration.cpp"
# Our toolchain without its -static (Qt's DLLs and ours share one runtime).
sed '/-static/d' "$root/cmake/toolchains/mingw-w64.cmake" >"$work/toolchain.cmake"

mkdir -p "$work/build"
cd "$work/build"
start=$(date +%s)
"$work/src/configure" -prefix "$prefix" "${configure[@]}" -- \
  -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1 ||
  { tail -n 40 "$work/configure.log" >&2; exit 1; }
cmake --build . --parallel "$jobs" >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log" >&2; exit 1; }
cmake --install . >/dev/null
echo "$stamp_text" >"$prefix/.pondwillow-stamp"
echo "windows-qt: Qt $version for Windows built in $(( $(date +%s) - start )) s" >&2
rm -rf "$work"
echo "$prefix"
