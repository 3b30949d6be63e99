#!/usr/bin/env bash
# The Windows program, built here and run under Wine: builds Qt for Windows
# from Debian's source (or finds it cached, scripts/windows-qt.sh), the tools
# the build runs for this machine (build-host), Pondwillow.exe with mingw-w64
# (build-win), lays out the program's folder (build-win/dist: the exe, Qt's
# DLLs and plugins, the GCC runtime), then runs the Wine suite on it.
#
# Usage: bash scripts/windows.sh [--no-tests]     (as root the first time)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
run_tests=1
[[ "${1:-}" == "--no-tests" ]] && run_tests=0

bash "$root/scripts/setup.sh"
qt=$(bash "$root/scripts/windows-qt.sh" | tail -n 1)

# The tools the build runs, built for this machine.
cmake -S "$root" -B "$root/build-host" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DPONDWILLOW_TESTS=OFF -DPONDWILLOW_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build-host" --target theme_pictures

start=$(date +%s)
cmake -S "$root" -B "$root/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DPW_HOST_TOOLS="$root/build-host/tools" \
  -DPONDWILLOW_TESTS=OFF -DPONDWILLOW_BENCHMARKS=OFF -DPONDWILLOW_WERROR=ON >/dev/null
cmake --build "$root/build-win"
rm -rf "$root/build-win/dist"
cmake --install "$root/build-win" --prefix "$root/build-win/dist" --strip >/dev/null
echo "windows: Pondwillow.exe built in $(($(date +%s) - start)) s;" \
  "build-win/dist holds $(du -sh "$root/build-win/dist" | cut -f1)" >&2

if ((run_tests)); then
  bash "$root/tests/wine/run.sh" "$root/build-win/dist"
fi
