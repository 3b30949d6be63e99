# Dragging a file into the dock from another program: the tests' small drag
# source (pw_e2e_drag_source) starts a drag of a file URL when pressed. Source
# it after lib.sh and set $E2E_DRAG_SOURCE to the program's path.

# Drags FILE from the drag source onto the dock at X Y of its window; sets
# $DRAG_RESULT to what the drag source reported. The source stays up until
# end_drag, since the dock fetches the data after the drop.
drag_in() { # file x y
  local g s out="$E2E_DIR/drag.out"
  rm -f "$out"
  "$E2E_DRAG_SOURCE" "$1" 800 300 >"$out" 2>"$E2E_DIR/drag.err" &
  DRAG_PID=$!
  E2E_PIDS+=("$DRAG_PID")
  local src
  src=$(timeout 10 xdotool search --sync --onlyvisible --name '^pw-drag-source$' | head -n1) ||
    fail "the drag source did not show"
  read -r -a s < <(geometry "$src")
  read -r -a g < <(geometry "$WID")
  xdotool mousemove $((s[0] + 40)) $((s[1] + 40))
  xdotool mousemove_relative 1 0
  xdotool mousedown 1
  local k
  for k in 1 2 3 4; do
    xdotool mousemove $((s[0] + 40 + (g[0] + $2 - s[0] - 40) * k / 4)) \
      $((s[1] + 40 + (g[1] + $3 - s[1] - 40) * k / 4))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
  wait_until 10 test -s "$out" || fail "the drag did not end"
  DRAG_RESULT=$(cat "$out")
}
end_drag() {
  kill "$DRAG_PID" 2>/dev/null || true
  wait "$DRAG_PID" 2>/dev/null || true
}
