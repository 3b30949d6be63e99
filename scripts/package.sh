#!/usr/bin/env bash
# Builds the dock's Debian package: installs what the build needs (as root),
# makes a Release build without the tests and benchmarks, and packs the files
# of the install rules (cmake/Install.cmake) with CPack. Prints the package's
# path as its last line.
#   bash scripts/package.sh [BUILD_DIR]     (build-pkg by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-pkg}
bash "$root/scripts/setup.sh" build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxcb1-dev libglib2.0-dev \
  dpkg-dev file
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DPONDWILLOW_TESTS=OFF -DPONDWILLOW_BENCHMARKS=OFF -DPONDWILLOW_FUZZ=OFF \
  -DPONDWILLOW_SANITIZE=OFF -DPONDWILLOW_WERROR=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/pondwillow_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/pondwillow_*.deb)
[[ -f ${debs[0]} ]] || { echo "package: cpack made no package in $build" >&2; exit 1; }
echo "${debs[0]}"
