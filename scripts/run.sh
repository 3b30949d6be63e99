#!/usr/bin/env bash
# Installs what is missing, builds the dock and starts it. Its settings and
# group files live next to the executable: build/src/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DPONDWILLOW_TESTS=OFF -DPONDWILLOW_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build" --target Pondwillow -j"$(nproc)"
exec "$root/build/src/Pondwillow" "$@"
