#!/usr/bin/env bash
# One dock per folder: a second start on the folder of a running dock brings
# that dock to the front and ends with status 0; a dock killed with SIGKILL
# leaves nothing that blocks the next start; docks on different folders run
# side by side. The command line answers without a display.
source "$(dirname "$0")/lib.sh"
prepare_home "$1"

# --help and --version: status 0, text on standard output, nothing written,
# no display needed; an unknown option: status 2 and a message.
(
  unset DISPLAY WAYLAND_DISPLAY
  cd "$E2E_HOME"
  out=$(./Pondwillow --version 2>"$E2E_DIR/err") || fail "--version: status $?"
  [[ "$out" == "Pondwillow "* && ! -s "$E2E_DIR/err" ]] || fail "--version printed: $out"
  out=$(./Pondwillow --help 2>/dev/null) || fail "--help: status $?"
  [[ "$out" == *"--home DIR"* ]] || fail "--help printed: $out"
  rc=0; ./Pondwillow --no-such-option >/dev/null 2>"$E2E_DIR/err" || rc=$?
  ((rc == 2)) || fail "an unknown option: status $rc"
  grep -q "no-such-option" "$E2E_DIR/err" || fail "an unknown option: $(cat "$E2E_DIR/err")"
  [[ $(ls -A "$E2E_HOME") == "Pondwillow" ]] || fail "the command line wrote: $(ls -A "$E2E_HOME")"
) || exit 1
pass "--help and --version without a display, an unknown option gives status 2, nothing written"

start_x
printf '%s,,dock\r\n' "$E2E_HOME/Pondwillow" >"$E2E_HOME/PondwillowPath0.txt"
start_dock
first_pid=$DOCK_PID first_wid=$WID
read -r x y w h < <(geometry "$first_wid")

# Another window takes the front; a second start on the same folder brings
# the dock back and ends.
xmessage -geometry +0+0 "in front" &
E2E_PIDS+=($!)
other=$(timeout 10 xdotool search --sync --onlyvisible --name '^xmessage$' | head -n1) ||
  fail "the other window did not appear"
activate "$other"
rc=0
(cd "$E2E_HOME" && timeout 20 ./Pondwillow) >"$E2E_DIR/second.log" 2>&1 || rc=$?
((rc == 0)) || fail "the second start: status $rc: $(cat "$E2E_DIR/second.log")"
grep -q "already runs on" "$E2E_DIR/second.log" || fail "the second start said: $(cat "$E2E_DIR/second.log")"
active_is() { [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]]; }
docks_shown() { [[ $(xdotool search --onlyvisible --name '^Pondwillow$' 2>/dev/null | wc -l) == "$1" ]]; }
wait_until 5 active_is "$first_wid" ||
  fail "the running dock did not come to the front"
docks_shown 1 || fail "two dock windows"
kill -0 "$first_pid" || fail "the first dock ended"
read -r x2 y2 w2 h2 < <(geometry "$first_wid")
[[ "$x2 $y2 $w2 $h2" == "$x $y $w $h" ]] || fail "the first dock moved: $x2 $y2 $w2 $h2"
pass "a second start on the folder brought the running dock to the front and exited 0"

# The first dock still answers: Ctrl+X saves and ends it.
activate "$first_wid"; xdotool key --clearmodifiers ctrl+x
DOCK_PID=$first_pid wait_dock_exit
[[ -f "$E2E_HOME/Pondwillow.ini" ]] || fail "the first dock did not save at Ctrl+X"
pass "the first dock still answered (Ctrl+X saved)"

# A dock killed with SIGKILL does not block the next start.
start_dock
kill -KILL "$DOCK_PID"
wait "$DOCK_PID" 2>/dev/null || true
wait_until 5 docks_shown 0 || fail "the killed dock's window stayed"
start_dock
kill -0 "$DOCK_PID" || fail "no dock after a killed one"
pass "a start after SIGKILL runs"

# A dock on another folder runs beside it.
mkdir -p "$E2E_DIR/other"
("$E2E_HOME/Pondwillow" --home "$E2E_DIR/other") >"$E2E_DIR/other.log" 2>&1 &
other_pid=$!
E2E_PIDS+=($other_pid)
wait_until 20 docks_shown 2 ||
  fail "the dock on another folder did not show: $(cat "$E2E_DIR/other.log")"
kill -0 "$DOCK_PID" && kill -0 "$other_pid" || fail "one of the two docks ended"
kill "$other_pid"; wait "$other_pid" || fail "the other dock exited with status $?"
[[ -f "$E2E_DIR/other/Pondwillow.ini" ]] || fail "the other dock did not keep its files in its folder"
pass "docks on two folders ran side by side, each with its own files"
stop_dock
summary
