#!/usr/bin/env bash
# The end of the desktop session: the termination signals a log-off or
# shutdown sends make the dock save its settings (the position it was dragged
# to) and exit with status 0; a save that fails then is reported on standard
# error and the dock still exits, with status 1.
# Usage: session_end.sh PATH_TO_DOCK_EXECUTABLE
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"
ini="$E2E_HOME/Pondwillow.ini"

# One entry, so the drop zone does not cover the panel.
printf '%s,,dock\r\n' "$E2E_HOME/Pondwillow" >"$E2E_HOME/PondwillowPath0.txt"

# Drags the bare panel by DX,DY from a point near its lower left corner
# (the panel lies along the bottom edge); sets NX NY to where the window is.
drag_panel() {
  local dx=$1 dy=$2 x y w h px py i
  read -r x y w h < <(geometry "$WID")
  px=$((x + 10)) py=$((y + h - 10))
  xdotool mousemove "$px" "$py"; sleep 0.2
  xdotool mousemove $((px + 1)) "$py"; sleep 0.2
  xdotool mousedown 1; sleep 0.2
  for i in 1 2 3 4 5; do
    xdotool mousemove $((px + 1 + i * dx / 5)) $((py + i * dy / 5)); sleep 0.1
  done
  sleep 0.3
  xdotool mouseup 1; sleep 0.3
  read -r NX NY w h < <(geometry "$WID")
  near "$NX" $((x + dx)) 3 && near "$NY" $((y + dy)) 3 ||
    fail "drag moved the window from $x,$y to $NX,$NY, not by $dx,$dy"
}

# Sends SIGNAL to the dock and checks it saved the position NX,NY and exited 0.
end_session_with() {
  kill "-$1" "$DOCK_PID"
  wait_dock_exit
  ((DOCK_RC == 0)) || fail "$1: exit status $DOCK_RC"
  [[ -f "$ini" ]] || fail "$1: no settings file written"
  local left top
  left=$(ini_value "$ini" Form Left) top=$(ini_value "$ini" Form Top)
  near "$left" "$NX" 3 && near "$top" "$NY" 3 ||
    fail "$1: stored position $left,$top, the window was at $NX,$NY"
}

# No settings file yet: whatever is written comes from the end of the session.
start_dock
[[ -f "$ini" ]] && fail "a settings file was written at start"
drag_panel 100 -80
end_session_with TERM
pass "SIGTERM saved the dragged position $NX,$NY and exited 0"

# The next start stands there; a hang-up saves a new position the same way.
start_dock
read -r x y _ < <(geometry "$WID")
near "$x" "$NX" 3 && near "$y" "$NY" 3 || fail "stored position not applied: $x,$y"
drag_panel -60 50
end_session_with HUP
pass "SIGHUP saved the dragged position $NX,$NY and exited 0"

# A settings file that cannot be written: the failure goes to standard error
# once (no message box waits for a user who is logging off) and the dock
# exits with status 1.
rm "$ini"; mkdir "$ini"
start_dock
kill -TERM "$DOCK_PID"
wait_dock_exit
((DOCK_RC == 1)) || fail "exit status $DOCK_RC after a failed save"
reports=$(grep -c "error while handling window message 0x0011" "$E2E_DIR/dock.log" || true)
((reports == 1)) || fail "the failed save was reported $reports times: $(cat "$E2E_DIR/dock.log")"
pass "a failed save at the end of the session is reported once and the dock exits 1"
summary
