#!/usr/bin/env bash
# The dock under a real X session manager (xsm): a checkpoint saves the
# settings, and the end of the session saves the dragged position and ends
# the dock.
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"
ini="$E2E_HOME/Pondwillow.ini"
printf '%s,,dock\r\n' "$E2E_HOME/Pondwillow" >"$E2E_HOME/PondwillowPath0.txt"
printf '[Form]\r\nLeft=400\r\nTop=300\r\n' >"$ini"

export HOME="$E2E_DIR/session-home"
mkdir -p "$HOME"
echo "$E2E_HOME/Pondwillow" >"$HOME/.xsmstartup"
(cd "$E2E_HOME" && exec xsm) >"$E2E_DIR/dock.log" 2>&1 &
XSM_PID=$!
E2E_PIDS+=($XSM_PID)
WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Pondwillow$' | head -n1) ||
  fail "the dock did not start in the session"
DOCK_PID=$(pgrep -f "^$E2E_HOME/Pondwillow$") || fail "no dock process"
sleep 1

# A checkpoint: the settings file is written again.
rm -f "$ini"
kill -USR1 "$XSM_PID"
for i in $(seq 50); do [[ -f "$ini" ]] && break; sleep 0.1; done
[[ -f "$ini" ]] || fail "a checkpoint did not save the settings"
[[ $(ini_value "$ini" Form Left) == 400 ]] || fail "checkpoint saved Left=$(ini_value "$ini" Form Left)"
pass "a checkpoint saves the settings"

# Move the dock, then end the session.
read -r x y w h < <(geometry "$WID")
px=$((x + 10)) py=$((y + h - 10))
xdotool mousemove "$px" "$py"; sleep 0.2; xdotool mousemove $((px + 1)) "$py"; sleep 0.2
xdotool mousedown 1; sleep 0.2
for i in 1 2 3 4; do xdotool mousemove $((px + 1 + i * 15)) $((py + i * 10)); sleep 0.1; done
sleep 0.3; xdotool mouseup 1; sleep 0.3
read -r nx ny w h < <(geometry "$WID")
[[ "$nx,$ny" != "400,300" ]] || fail "the drag did not move the dock"
kill -TERM "$XSM_PID"
for i in $(seq 100); do kill -0 "$DOCK_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$DOCK_PID" 2>/dev/null && fail "the dock outlived the session"
[[ $(ini_value "$ini" Form Left),$(ini_value "$ini" Form Top) == "$nx,$ny" ]] ||
  fail "session end saved $(ini_value "$ini" Form Left),$(ini_value "$ini" Form Top), dock was at $nx,$ny"
pass "the end of the session saved $nx,$ny and ended the dock"
summary
