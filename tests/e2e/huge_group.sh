#!/usr/bin/env bash
# A group of 100,000 entries: the dock loads it within a generous time and
# memory, its window lies on the screen within what X can hold, and its first
# tile is reached by the pointer: a click on it starts its program.
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"

entries=100000
limit_kib=$((1024 * 1024)) # 1 GiB, also under the sanitizers

# The first entry is a script that leaves a mark; the rest name one file.
cat >"$E2E_HOME/first.sh" <<SCRIPT
#!/bin/sh
echo started >"$E2E_DIR/first.mark"
SCRIPT
chmod +x "$E2E_HOME/first.sh"
echo x >"$E2E_HOME/f.txt"
{
  printf '%s,,first\r\n' "$E2E_HOME/first.sh"
  awk -v n=$((entries - 1)) -v f="$E2E_HOME/f.txt" 'BEGIN { for (i = 1; i <= n; i++) printf "%s,,tile %d\r\n", f, i }'
} >"$E2E_HOME/PondwillowPath0.txt"
printf '[Form]\r\nLeft=700\r\nTop=900\r\n' >"$E2E_HOME/Pondwillow.ini"

# Started as start_dock does, with room for a slow (sanitized) build.
(cd "$E2E_HOME" && exec ./Pondwillow) >"$E2E_DIR/dock.log" 2>&1 &
DOCK_PID=$!
E2E_PIDS+=($DOCK_PID)
WID=$(timeout 90 xdotool search --sync --onlyvisible --name '^Pondwillow$' | head -n1) ||
  fail "no window within 90 s for $entries entries"
sleep 1
hwm=$(awk '$1 == "VmHWM:" { print $2 }' "/proc/$DOCK_PID/status")
((hwm < limit_kib)) || fail "peak resident memory $hwm KiB for $entries entries"
pass "$entries entries shown, peak resident memory $hwm KiB"

read -r x y w h < <(geometry "$WID")
((w <= 32767 && h <= 32767)) || fail "window ${w}x$h is more than X can hold"
((x >= 0 && y >= 0 && x + w <= 1920 && y + h <= 1080)) || fail "window $x $y $w $h is off the screen"
((x == 0 && w == 1920)) || fail "a long row does not fill the screen's width: $x $y $w $h"
pass "window $x $y $w $h on the screen"

# The first tile stands 24 pixels in from the window's left side.
tx=$((x + 48)) ty=$((y + 78))
xdotool mousemove $((tx + 100)) $((ty - 200)); sleep 0.2
xdotool mousemove "$tx" "$ty"; sleep 0.2
xdotool mousemove $((tx + 1)) "$ty"; sleep 0.3
xdotool click 1
for _ in $(seq 100); do
  [[ -f "$E2E_DIR/first.mark" ]] && break
  sleep 0.1
done
[[ -f "$E2E_DIR/first.mark" ]] || fail "a click on the first tile started nothing"
pass "the first tile is reached: a click started its program"
