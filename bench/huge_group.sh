#!/usr/bin/env bash
# Time and memory of the real dock showing a large group, under Xvfb
# (1920 x 1080) with a window manager:
#   ms     from starting the process to its window being mapped (polled
#          every 10 ms, so figures are good to about 10 ms),
#   rss    VmRSS one second after the window was mapped, in KiB,
#   hwm    VmHWM, the peak resident size, in KiB,
#   window the window's X Y W H as the X server has it.
# Two kinds of group: every entry names one existing file ("one"), or the
# entries cycle through 1,000 distinct existing files ("distinct").
# Usage: bench/huge_group.sh PONDWILLOW_BINARY [COUNT...]   (default 1000 10000 100000)
set -euo pipefail
binary=$(readlink -f "$1")
shift
counts=("$@")
((${#counts[@]})) || counts=(1000 10000 100000)
source "$(dirname "$0")/../tests/e2e/lib.sh"
start_x
prepare_home "$binary"
files="$E2E_DIR/files"
mkdir -p "$files"
for i in $(seq 0 999); do echo x >"$files/f$i.txt"; done

now_ms() { echo $(($(date +%s%N) / 1000000)); }
status_kb() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }

# Writes a group of $2 entries of kind $1.
write_group() {
  awk -v n="$2" -v kind="$1" -v dir="$files" 'BEGIN {
    for (i = 0; i < n; i++)
      printf "%s/f%d.txt,,tile %d\r\n", dir, (kind == "one" ? 0 : i % 1000), i
  }' >"$E2E_HOME/PondwillowPath0.txt"
}

printf '%-9s %8s %7s %9s %9s  %s\n' kind entries ms rss_kib hwm_kib window
for kind in one distinct; do
  for n in "${counts[@]}"; do
    write_group "$kind" "$n"
    rm -f "$E2E_HOME/Pondwillow.ini"
    t0=$(now_ms)
    (cd "$E2E_HOME" && exec ./Pondwillow) >"$E2E_DIR/dock.log" 2>&1 &
    DOCK_PID=$!
    E2E_PIDS+=($DOCK_PID)
    WID=
    for _ in $(seq 12000); do
      WID=$(xdotool search --onlyvisible --name '^Pondwillow$' 2>/dev/null | head -n1) || true
      [[ -n "$WID" ]] && break
      kill -0 "$DOCK_PID" 2>/dev/null || fail "the dock exited"
      sleep 0.01
    done
    [[ -n "$WID" ]] || fail "no window after 120 s"
    ms=$(($(now_ms) - t0))
    sleep 1
    rss=$(status_kb "$DOCK_PID" VmRSS)
    hwm=$(status_kb "$DOCK_PID" VmHWM)
    printf '%-9s %8d %7d %9d %9d  %s\n' "$kind" "$n" "$ms" "$rss" "$hwm" "$(geometry "$WID")"
    kill "$DOCK_PID"
    wait_dock_exit
  done
done
