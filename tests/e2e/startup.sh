#!/usr/bin/env bash
# The real dock under Xvfb with a window manager: first start with no files,
# the settings file Ctrl+X writes, a stored position, and dragging the panel.
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"

# First start with no files: a borderless dock at the middle of the screen,
# one empty slot long, with the panel and its drop zone.
start_dock
read -r x y w h < <(geometry "$WID")
[[ "$x $y $w $h" == "960 540 92 126" ]] || fail "first start geometry: $x $y $w $h"
extents=$(xprop -id "$WID" _NET_FRAME_EXTENTS 2>/dev/null || true)
[[ "$extents" == *"0, 0, 0, 0"* ]] || fail "the window manager framed the dock: $extents"
pass "first start: borderless at 960,540, 92x126"

# Ctrl+X writes every setting, in order, and ends the program.
activate "$WID"; xdotool key --clearmodifiers ctrl+x
wait_dock_exit
((DOCK_RC == 0)) || fail "exit status $DOCK_RC"
ini="$E2E_HOME/Pondwillow.ini"
[[ -f "$ini" ]] || fail "no settings file written"
keys=$(awk '{ sub(/\r$/, "") } /^\[/ { s = $0; next } /=/ { split($0, a, "="); print s a[1] }' "$ini" | tr '\n' ' ')
expected="[Icon]Size [Icon]Width [Icon]GapH [Icon]Refrection [Icon]DisInterpolation [Icon]Jump \
[Form]Top [Form]Left [Form]Mode [Form]TaskBar [Refrect]Mode [Refrect]Opa [Refrect]Length \
[Refrect]Offset [Menu]Index [Menu]Name0 [Menu]Name1 [Menu]Name2 [Menu]Name3 [Menu]Name4 \
[Hint]Show [Mode]Top [Back]Opa [Back]Color0 [Back]Color1 [Back]Gradient [Back]Direction \
[Back]Size [Back]Image [Back]ImageFile [Back]Offset "
[[ "$keys" == "$expected" ]] || fail "settings keys: $keys"
[[ $(ini_value "$ini" Menu Name0) == "メニュー1" ]] || fail "group name: $(ini_value "$ini" Menu Name0)"
ls "$E2E_HOME"/PondwillowPath*.txt >/dev/null 2>&1 && fail "closing wrote a group file"
pass "Ctrl+X wrote the 31 keys in order and no group file"

# A stored position places the window there. The group gets one entry, so
# the drop zone (which covers the panel in add mode) is hidden.
printf '%s,,dock\r\n' "$E2E_HOME/Pondwillow" >"$E2E_HOME/PondwillowPath0.txt"
sed -i 's/^Top=540\r$/Top=300\r/; s/^Left=960\r$/Left=400\r/' "$ini"
start_dock
read -r x y w h < <(geometry "$WID")
[[ "$x $y" == "400 300" ]] || fail "stored position not applied: $x $y"
pass "stored position 400,300 applied"

# Dragging the bare panel moves the window; closing stores the new place.
px=$((x + 10)) py=$((y + h - 10))
xdotool mousemove "$px" "$py"; sleep 0.2
xdotool mousemove $((px + 1)) "$py"; sleep 0.2
xdotool mousedown 1; sleep 0.2
for i in 1 2 3 4 5; do
  xdotool mousemove $((px + 1 + i * 20)) $((py - i * 16)); sleep 0.1
done
sleep 0.3
xdotool mouseup 1; sleep 0.3
read -r nx ny w h < <(geometry "$WID")
near "$nx" 500 3 && near "$ny" 220 3 || fail "drag moved the window to $nx,$ny, not 500,220"
# The right button moves the window as well.
px=$((nx + 10)) py=$((ny + h - 10))
xdotool mousemove "$px" "$py"; sleep 0.2
xdotool mousedown 3; sleep 0.2
for i in 1 2 3 4 5; do
  xdotool mousemove $((px - i * 10)) $((py + i * 10)); sleep 0.1
done
sleep 0.3
xdotool mouseup 3; sleep 0.3
read -r nx ny w h < <(geometry "$WID")
near "$nx" 450 3 && near "$ny" 270 3 || fail "right-button drag moved the window to $nx,$ny, not 450,270"
activate "$WID"; xdotool key --clearmodifiers ctrl+x
wait_dock_exit
((DOCK_RC == 0)) || fail "exit status $DOCK_RC"
[[ $(ini_value "$ini" Form Left) == "$nx" && $(ini_value "$ini" Form Top) == "$ny" ]] ||
  fail "stored position $(ini_value "$ini" Form Left),$(ini_value "$ini" Form Top), window was $nx,$ny"
pass "dragged to $nx,$ny and stored"

# With the taskbar button switched off the window asks to be left off the
# taskbar (and the pager); by default it does not.
state=$(xprop -id "$WID" _NET_WM_STATE 2>/dev/null || true)
[[ "$state" != *SKIP_TASKBAR* ]] || fail "skip-taskbar set by default: $state"
sed -i 's/^TaskBar=1\r$/TaskBar=0\r/' "$ini"
start_dock
state=$(xprop -id "$WID" _NET_WM_STATE)
[[ "$state" == *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "no skip-taskbar state: $state"
stop_dock
pass "TaskBar=0 keeps the dock off the taskbar"

# A settings file that cannot be written: closing shows the error box and the
# dock stays open; after OK it goes on running.
rm "$ini"; mkdir "$ini"
start_dock
activate "$WID"; xdotool key --clearmodifiers ctrl+x
sleep 1
kill -0 "$DOCK_PID" 2>/dev/null || fail "the dock closed although its settings could not be written"
box=$(xdotool search --onlyvisible --name '^Pondwillow$' | grep -v "^$WID$" | head -n1 || true)
[[ -n "$box" ]] || fail "no error box"
[[ -n "${E2E_SHOTS:-}" ]] && shot "$E2E_SHOTS/error-box.png"
activate "$box"; xdotool key Return
sleep 0.5
kill -0 "$DOCK_PID" 2>/dev/null || fail "the dock ended after the error box"
xwininfo -id "$box" 2>/dev/null | grep -q IsViewable && fail "the error box stayed open"
# A log-off now cannot save either: the dock says so in its exit status.
kill "$DOCK_PID"; wait_dock_exit
((DOCK_RC == 1)) || fail "exit status $DOCK_RC after a failed save at log-off"
pass "an unwritable settings file is reported and the dock stays open"
summary
