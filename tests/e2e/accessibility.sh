#!/usr/bin/env bash
# The dock through the real accessibility stack, as a screen reader reads it:
# a private session bus with the AT-SPI bus and registry, the dock with Qt's
# accessibility bridge on, and a Python AT-SPI client (accessibility_client.py).
# The client sees the dock's window holding a tool bar named after the shown
# group, with one push button per tile, named by its hint and described by
# its file; Press on a tile launches its program exactly once; F3 renames the
# row and changes its buttons (and the client is told); the settings window's
# controls carry their captions. By keyboard: the tiles the keys go to are
# announced as focused, and the tile the keyboard is on again when the dock
# comes back from another window; Return launches the focused tile; the Menu
# key opens a menu the client reads; End on a row longer than the screen
# focuses the last tile, which shows on the screen while the first does not.
# Usage: accessibility.sh PATH_TO_DOCK_EXECUTABLE
source "$(dirname "$0")/lib.sh"
dock=$1
client=("/usr/bin/python3" "$(dirname "$0")/accessibility_client.py")
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || fail "no $launcher (scripts/setup.sh installs at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "no pyatspi (scripts/setup.sh installs python3-pyatspi)"

# ---- a private session with the accessibility bus ---------------------------------
start_x
prepare_home "$dock"
# Whether accessibility is on is kept in the user's settings: a private
# configuration, data and runtime folder keep the machine's out of it.
export XDG_CONFIG_HOME="$E2E_DIR/config" XDG_DATA_HOME="$E2E_DIR/data"
export XDG_CACHE_HOME="$E2E_DIR/cache" XDG_RUNTIME_DIR="$E2E_DIR/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkfifo "$E2E_DIR/bus"
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$E2E_DIR/bus" \
  >"$E2E_DIR/dbus.log" 2>&1 &
E2E_PIDS+=($!)
read -r -t 20 DBUS_SESSION_BUS_ADDRESS <"$E2E_DIR/bus" || fail "the session bus did not start"
export DBUS_SESSION_BUS_ADDRESS
# The launcher is started, with accessibility on, before anything asks for
# org.a11y.Bus: a question first would have the bus start a launcher of its
# own, without it.
"$launcher" --launch-immediately --a11y=1 >"$E2E_DIR/at-spi.log" 2>&1 &
E2E_PIDS+=($!)
bus_has() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
wait_until 20 bus_has org.a11y.Bus || fail "the accessibility bus did not start"

# ---- the dock: three programs, and a group of two documents -----------------------
tools="$E2E_DIR/tools"
docs="$E2E_DIR/docs"
mkdir -p "$tools" "$docs"
launch_log="$E2E_DIR/launch.log"
for n in one two three; do
  printf '#!/bin/sh\necho %s >>"%s"\n' "$n" "$launch_log" >"$tools/$n.sh"
  chmod +x "$tools/$n.sh"
done
echo a >"$docs/alpha.txt"
echo b >"$docs/beta.txt"
printf '%s\r\n' "$tools/one.sh,,One" "$tools/two.sh,,Two" "$tools/three.sh,,Three" \
  >"$E2E_HOME/PondwillowPath0.txt"
printf '%s\r\n' "$docs/alpha.txt,,Alpha" "$docs/beta.txt,,Beta" >"$E2E_HOME/PondwillowPath2.txt"
# Group 5: a row longer than the screen (60 tiles of 52 pixels).
for i in $(seq 0 59); do printf '%s\r\n' "$tools/one.sh,,Long $i"; done >"$E2E_HOME/PondwillowPath4.txt"
printf '[Form]\r\nMode=0\r\nLeft=300\r\nTop=300\r\n[Refrect]\r\nMode=mbottom\r\n[Menu]\r\nName0=Programs\r\nName2=Documents\r\n' \
  >"$E2E_HOME/Pondwillow.ini"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_dock

# The row as the client reads it, kept in $E2E_DIR/row.
read_row() { "${client[@]}" row "$DOCK_PID" >"$E2E_DIR/row" 2>"$E2E_DIR/client.log"; }
row_is() { # bar name, then "name|description" of each button
  read_row || return 1
  local want="bar	$1	tool bar" got
  shift
  local b
  for b in "$@"; do want+=$'\n'"push button	${b%%|*}	${b#*|}"; done
  got=$(cut -f1-3 "$E2E_DIR/row")
  [[ $got == "$want" ]]
}

row_has() { read_row && [[ $(grep -c $'^push button\t' "$E2E_DIR/row") == "$1" ]]; }

# ---- the row ------------------------------------------------------------------------
wait_until 20 row_is Programs "One|$tools/one.sh" "Two|$tools/two.sh" "Three|$tools/three.sh" ||
  fail "the client reads the row as: $(cat "$E2E_DIR/row" "$E2E_DIR/client.log")"
pass "a tool bar named after the shown group, one push button a tile, named by hints, described by files"

read -r -a g < <(geometry "$WID")
i=0
while IFS=$'\t' read -r role name _ showing rect acts; do
  [[ $role == "push button" ]] || continue
  IFS=, read -r x y w h <<<"$rect"
  [[ $showing == showing ]] || fail "$name is not showing"
  # Where the tile is drawn: 48 wide, the first 24 from the window's left.
  near "$x" $((g[0] + 24 + slot * i)) 2 && near "$w" 48 1 && near "$h" 48 1 &&
    ((y >= g[1] && y + h <= g[1] + g[3])) || fail "$name at $rect, the window at ${g[*]}"
  [[ $acts == *Press* && $acts == *ShowMenu* ]] || fail "$name's actions: $acts"
  i=$((i + 1))
done <"$E2E_DIR/row"
pass "each button stands where its tile is drawn and offers Press and ShowMenu"

# ---- Press ------------------------------------------------------------------------------
"${client[@]}" act "$DOCK_PID" One Press || fail "Press on One: $(cat "$E2E_DIR/client.log")"
launched() { [[ -s $launch_log ]]; }
wait_until 10 launched || fail "Press on One launched nothing"
sleep 1
[[ $(cat "$launch_log") == one ]] || fail "Press on One launched: $(cat "$launch_log")"
pass "Press on a tile launches its program, once"

# ---- F3: another group -----------------------------------------------------------------
"${client[@]}" events "$DOCK_PID" "$E2E_DIR/events" 8 >"$E2E_DIR/events.log" 2>&1 &
listener=$!
E2E_PIDS+=($listener)
ready() { grep -q '^ready' "$E2E_DIR/events" 2>/dev/null; }
wait_until 10 ready || fail "the event listener did not start: $(cat "$E2E_DIR/events.log")"
activate "$WID"
xdotool key F3
wait_until 10 row_is Documents "Alpha|$docs/alpha.txt" "Beta|$docs/beta.txt" ||
  fail "after F3 the client reads: $(cat "$E2E_DIR/row")"
pass "F3: the row is named after the group shown and holds its buttons"
told() { grep -q "$1" "$E2E_DIR/events"; }
wait_until 10 told $'^name\ttool bar\tDocuments$' || fail "no name change was told: $(cat "$E2E_DIR/events")"
wait_until 10 told $'^children\ttool bar\tDocuments$' ||
  fail "no change of the row's children was told: $(cat "$E2E_DIR/events")"
pass "the client is told of the new name and the new children"
wait "$listener" || true

# ---- the settings window ---------------------------------------------------------------
activate "$WID"
xdotool key F12
"${client[@]}" window "$DOCK_PID" dialog >"$E2E_DIR/settings" 2>"$E2E_DIR/client.log" ||
  fail "no settings window: $(cat "$E2E_DIR/client.log")"
controls() { awk -F'\t' -v r="$1" '$1 == r' "$E2E_DIR/settings"; }
labels=$(controls label | cut -f2)
is_label() { grep -qxF -- "$1" <<<"$labels"; }
n=0
while IFS=$'\t' read -r _ name _; do
  is_label "$name" || fail "a spin button named '$name', which no caption reads"
  n=$((n + 1))
done < <(controls "spin button")
((n == 8)) || fail "$n spin buttons: $(controls "spin button")"
[[ $(controls text | cut -f2 | tr '\n' ' ') == "No.1 No.2 No.3 No.4 No.5 " ]] ||
  fail "the group names' fields: $(controls text)"
slider=$(controls slider | cut -f2)
[[ -n $slider ]] && is_label "$slider" || fail "the track bar is named '$slider'"
# Qt names a combo box on Linux by its current item and tells its caption as
# what labels it (the edge's); the two colour boxes, which no caption stands
# beside, have names of their own.
labelled=0
while IFS=$'\t' read -r _ _ by; do
  IFS='|' read -r -a by <<<"$by"
  for l in "${by[@]}"; do is_label "$l" && labelled=$((labelled + 1)); done
done < <(controls "combo box")
((labelled == 1)) || fail "combo boxes labelled by a caption: $labelled: $(controls "combo box")"
[[ $(controls "combo box" | cut -f2 | sort -u | grep -c .) == 4 ]] ||
  fail "four combo boxes of four names: $(controls "combo box")"
for b in Up Down Close; do
  controls "push button" | cut -f2 | grep -qxF "$b" || fail "no push button $b: $(controls "push button")"
done
pass "the settings window's controls carry their captions"
xdotool key Escape
# The window goes and the dock is built again.
settings_gone() { ! "${client[@]}" window "$DOCK_PID" dialog 0 >/dev/null 2>&1; }
wait_until 15 settings_gone || fail "the settings window did not close"

# ---- by keyboard ---------------------------------------------------------------------
activate "$WID"
xdotool key F1
wait_until 10 row_is Programs "One|$tools/one.sh" "Two|$tools/two.sh" "Three|$tools/three.sh" ||
  fail "after F1 the client reads: $(cat "$E2E_DIR/row")"
# openbox gives a frameless tool window the focus as it appears: another
# window is made active first, so that the dock's activation is a change.
xmessage -geometry +0+0 "another window" >/dev/null 2>&1 &
E2E_PIDS+=($!)
other=$(timeout 10 xdotool search --sync --onlyvisible --name '^xmessage$' | head -n1) ||
  fail "no other window"
activate "$other"
"${client[@]}" events "$DOCK_PID" "$E2E_DIR/focus" 12 >"$E2E_DIR/events.log" 2>&1 &
listener=$!
E2E_PIDS+=($listener)
ready() { grep -q '^ready' "$E2E_DIR/focus" 2>/dev/null; }
wait_until 10 ready || fail "the event listener did not start: $(cat "$E2E_DIR/events.log")"
activate "$WID"
focused() { grep $'^focus\tpush button\t' "$E2E_DIR/focus" | cut -f3 | tr '\n' ' '; }
focused_is() { [[ $(focused) == "$1" ]]; }
# The dock that gets the keyboard has it on its first tile; the arrows move it.
for k in Right Right Left; do
  sleep 0.3
  xdotool key "$k"
done
wait_until 10 focused_is "One Two Three Two " || fail "the keys announced: $(cat "$E2E_DIR/focus")"
pass "the dock activated, then Right, Right, Left announce the tiles One, Two, Three, Two"
: >"$launch_log"
xdotool key Return
wait_until 10 launched || fail "Return launched nothing"
sleep 1
[[ $(cat "$launch_log") == two ]] || fail "Return launched: $(cat "$E2E_DIR/launch.log")"
pass "Return launches the focused tile, once"
# Back from another window, the dock names the tile the keyboard is on. (Qt
# under X takes a focus that comes back within a moment for one never lost.)
activate "$other"
sleep 1
activate "$WID"
wait_until 10 focused_is "One Two Three Two Two " || fail "the dock's activation announced: $(cat "$E2E_DIR/focus")"
read_row
[[ $(awk -F'\t' '$7 == "focused"' "$E2E_DIR/row" | cut -f2) == Two ]] ||
  fail "the focused button: $(cat "$E2E_DIR/row")"
pass "the dock activated again announces the tile the keyboard is on, and reads it focused"
wait "$listener" || true

# The tile menu: a client learns of it as it shows, with its items.
"${client[@]}" popup "$DOCK_PID" "$E2E_DIR/popup" 10 >"$E2E_DIR/events.log" 2>&1 &
listener=$!
E2E_PIDS+=($listener)
menu_ready() { grep -q '^ready' "$E2E_DIR/popup" 2>/dev/null; }
wait_until 10 menu_ready || fail "the menu listener did not start: $(cat "$E2E_DIR/events.log")"
# After the window came back, the first key shows the ring on the tile; the
# second opens its menu.
xdotool key Menu
sleep 0.3
xdotool key Menu
menu_read() { grep -q '^end' "$E2E_DIR/popup" 2>/dev/null; }
wait_until 10 menu_read || fail "the Menu key showed no menu to the client: $(cat "$E2E_DIR/popup")"
[[ $(grep -c $'^menu item\t' "$E2E_DIR/popup") == 3 ]] || fail "the tile menu's items: $(cat "$E2E_DIR/popup")"
pass "the Menu key opens the tile menu, its items read: $(grep $'^menu item\t' "$E2E_DIR/popup" | cut -f2 | tr '\n' ' ')"
wait "$listener" || true
xdotool key Escape

# ---- a row longer than the screen -----------------------------------------------------
xdotool key F5
wait_until 10 row_has 60 || fail "group 5: $(head -n 3 "$E2E_DIR/row")"
child() { awk -F'\t' -v n="$1" '$1 == "push button" && $2 == n' "$E2E_DIR/row"; }
showing() { [[ $(child "$1" | cut -f4) == showing ]]; }
showing "Long 0" && ! showing "Long 59" || fail "before End: $(child "Long 0"; child "Long 59")"
xdotool key End
end_shown() {
  read_row && showing "Long 59" && ! showing "Long 0" && [[ $(child "Long 59" | cut -f7) == focused ]]
}
wait_until 10 end_shown || fail "after End: $(child "Long 0"; child "Long 59")"
IFS=, read -r x y w h <<<"$(child "Long 59" | cut -f5)"
read -r -a g < <(geometry "$WID")
((x >= g[0] && x + w <= g[0] + g[2] && x + w <= 1920 && y >= 0 && y + h <= 1080)) ||
  fail "the last tile at $x,$y ${w}x$h, the window at ${g[*]}"
pass "End: the last tile of a long row is focused and shows, on the screen, and the first does not"

summary
