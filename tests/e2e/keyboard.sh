#!/usr/bin/env bash
# The real dock by keyboard under Xvfb: after a click on its panel, Right
# puts a ring round the first tile and then the next, Return starts the
# focused tile's program with its parameter, Shift+Return starts nothing,
# Ctrl+Right moves the tile in the group file, the Menu key opens the tile
# menu at the tile, and Escape takes the ring away, leaving the dock as it
# was before the first key, pixel for pixel. Screenshots are left in
# $E2E_SHOTS when that is set.
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"
shots=${E2E_SHOTS:-$E2E_DIR}
mkdir -p "$shots"
unset DBUS_SESSION_BUS_ADDRESS

# Three programs that write their arguments to a log of their own.
tools="$E2E_HOME/tools"
mkdir -p "$tools"
for n in a b c; do
  printf '#!/bin/sh\nfor a; do printf "arg=%%s\\n" "$a"; done >"%s/%s.log.part" && mv "%s/%s.log.part" "%s/%s.log"\n' \
    "$E2E_DIR" "$n" "$E2E_DIR" "$n" "$E2E_DIR" "$n" >"$tools/$n.sh"
  chmod +x "$tools/$n.sh"
done
printf '%s,--one,A\r\n%s,--two,B\r\n%s,--three,C\r\n' "$tools/a.sh" "$tools/b.sh" "$tools/c.sh" \
  >"$E2E_HOME/PondwillowPath0.txt"
printf '[Form]\r\nLeft=400\r\nTop=300\r\n' >"$E2E_HOME/Pondwillow.ini"

# Where the ring's line runs: just above the middle of tile N's upper side.
ring_x() { echo $((x + 48 + slot * $1)); }
ring_y() { echo $((y + 50)); }
ring_on() { # shot N
  steel_blue "$1" "$(ring_x "$2")" "$(ring_y)" 8
}
# The dock's part of a screenshot.
dock_crop() { convert "$1" -crop "${w}x$h+$x+$y" +repage "$2"; }
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
wait_log() { wait_until 5 test -e "$E2E_DIR/$1.log"; }

start_dock
read -r x y w h < <(geometry "$WID")
((w == $(width_for 3))) || fail "three tiles: width $w"
shot "$E2E_DIR/rest.png"
dock_crop "$E2E_DIR/rest.png" "$shots/keys-rest.png"

# A click on the panel before the first tile gives the dock the keyboard.
xdotool mousemove 1000 900 mousemove $((x + 6)) $((y + 78)) sleep 0.2 click 1
wait_until 5 bash -c "[[ \$(xdotool getactivewindow) == $WID ]]" || fail "a click on the panel did not activate the dock"
shot "$E2E_DIR/clicked.png"
ring_on "$E2E_DIR/clicked.png" 0 && fail "a ring shows before any key"
pass "a click on the panel activated the dock, with no ring"

# The keyboard came to the dock on its first tile: Right moves it to the
# second, and the ring shows there.
xdotool key Right
wait_until 5 bash -c "import -window root '$E2E_DIR/two.png' 2>/dev/null; $(declare -f pixel near steel_blue); steel_blue '$E2E_DIR/two.png' $(ring_x 1) $(ring_y) 8" ||
  fail "Right put no ring round the second tile"
sleep 0.3
shot "$E2E_DIR/two.png"
ring_on "$E2E_DIR/two.png" 1 || fail "Right put no ring round the second tile"
ring_on "$E2E_DIR/two.png" 0 && fail "a ring shows on the first tile too"
dock_crop "$E2E_DIR/two.png" "$shots/focus-ring.png"
pass "Right: the ring round the second tile"

xdotool key Return
wait_log b || fail "Return started nothing"
[[ $(cat "$E2E_DIR/b.log") == "arg=--two" ]] || fail "Return started: $(cat "$E2E_DIR/b.log")"
[[ -e $E2E_DIR/a.log || -e $E2E_DIR/c.log ]] && fail "Return started another tile's program"
pass "Return started the focused tile's program with its parameter"

rm -f "$E2E_DIR/b.log"
xdotool key shift+Return
sleep 1
[[ -e $E2E_DIR/b.log ]] && fail "Shift+Return started the program"
pass "Shift+Return started nothing"

xdotool key ctrl+Right
wait_until 5 bash -c "tr -d '\r' <'$E2E_HOME/PondwillowPath0.txt' | cut -d, -f3 | paste -sd' ' | grep -qx 'A C B'" ||
  fail "Ctrl+Right: group file $(tr -d '\r' <"$E2E_HOME/PondwillowPath0.txt")"
sleep 0.3
shot "$E2E_DIR/moved.png"
ring_on "$E2E_DIR/moved.png" 2 || fail "the ring did not follow the moved tile"
pass "Ctrl+Right moved the tile in the group file; the ring went with it"

xdotool key Menu
# The tile menu opens below the middle of the focused (third) tile.
mx=$(ring_x 2) my=$((y + 102))
wait_until 5 bash -c "import -window root '$E2E_DIR/menu.png' 2>/dev/null; $(declare -f pixel near steel_blue); steel_blue '$E2E_DIR/menu.png' $((mx + 30)) $((my + 12)) 8" ||
  fail "the Menu key opened no menu at the tile"
cp "$E2E_DIR/menu.png" "$shots/keys-menu.png"
xdotool key Escape
sleep 0.3
pass "the Menu key opened the tile menu at the tile"

xdotool key Escape
sleep 0.3
shot "$E2E_DIR/after.png"
dock_crop "$E2E_DIR/after.png" "$E2E_DIR/after-crop.png"
n=$(differing_pixels "$shots/keys-rest.png" "$E2E_DIR/after-crop.png")
[[ $n == 0 ]] || fail "after Escape the dock differs from its rest in $n pixels"
pass "Escape took the ring away: the dock as at rest, pixel for pixel"

stop_dock
summary
