#!/usr/bin/env bash
# Whole-process figures of the real dock under Xvfb with a window manager:
#   start-up to the first painted frame (startup_probe, best and median of N),
#   resident memory with no entries and with 50 entries after it settles,
#   CPU time and context switches while idle for 20 seconds.
# Usage: bench/measure_process.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/../tests/e2e/lib.sh"
start_x

echo "== start-up to first painted frame (startup_probe, 15 runs) =="
probe_dir="$E2E_DIR/probe"; mkdir -p "$probe_dir"; cp "$build/bench/startup_probe" "$probe_dir/"
for i in $(seq 15); do
  s=$(date +%s%N)
  "$probe_dir/startup_probe" >/dev/null 2>&1
  e=$(date +%s%N)
  echo $(( (e - s) / 1000000 ))
done | sort -n | awk '{ a[NR] = $1 } END { printf "whole process (start, first frame, exit): best %d ms, median %d ms\n", a[1], a[int((NR + 1) / 2)] }'
"$probe_dir/startup_probe" 2>/dev/null | sed 's/^/in process: /'

rss() { awk '/VmRSS/ { print $2 " kB" }' "/proc/$1/status"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Summed over every thread of the process (Qt's X event reader is one).
switches() { cat /proc/"$1"/task/*/status | awk '/voluntary_ctxt_switches/ { s += $2 } END { print s }'; }

measure_dock() {
  local label=$1
  start_dock
  sleep 3
  echo "resident memory, $label: $(rss "$DOCK_PID")"
  local t0 c0
  t0=$(cpu_ticks "$DOCK_PID"); c0=$(switches "$DOCK_PID")
  sleep 20
  echo "idle 20 s, $label: $(( $(cpu_ticks "$DOCK_PID") - t0 )) CPU ticks (1/100 s), $(( $(switches "$DOCK_PID") - c0 )) context switches"
  kill "$DOCK_PID"; wait_dock_exit
}

echo "== the real dock =="
prepare_home "$build/src/Pondwillow"
: >"$E2E_HOME/PondwillowPath0.txt"
measure_dock "no entries"
for i in $(seq 50); do echo x >"$E2E_HOME/file$i.txt"; echo "$E2E_HOME/file$i.txt,,file $i" ; done >"$E2E_HOME/PondwillowPath0.txt"
measure_dock "50 entries"
