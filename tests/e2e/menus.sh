#!/usr/bin/env bash
# The real dock's menus under Xvfb: a right click on the panel opens the
# background menu, F3 pressed while it is open shows group 2, and a right
# click on a tile opens the tile menu in the menus' look. Screenshots are
# left in $E2E_SHOTS when that is set.
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"
shots=${E2E_SHOTS:-$E2E_DIR}
mkdir -p "$shots"

# Group 0 holds one file, group 2 three (and a line whose file is missing).
for f in one.txt two.txt three.txt; do echo x >"$E2E_HOME/$f"; done
printf '%s,,One\r\n' "$E2E_HOME/one.txt" >"$E2E_HOME/PondwillowPath0.txt"
printf '%s,,One\r\n%s,,Two\r\n%s,,Gone\r\n%s,,Three\r\n' "$E2E_HOME/one.txt" \
  "$E2E_HOME/two.txt" "$E2E_HOME/missing.txt" "$E2E_HOME/three.txt" >"$E2E_HOME/PondwillowPath2.txt"
printf '[Form]\r\nLeft=400\r\nTop=300\r\n' >"$E2E_HOME/Pondwillow.ini"

click_at() { # x y button
  xdotool mousemove 0 0 mousemove "$1" "$2" sleep 0.2 mousemove_relative 1 0 sleep 0.2 click "$3"
}
# Waits until the pixel at x y is (or, with "!", is no longer) steel blue.
wait_menu() { # x y [!]
  local i
  for i in $(seq 50); do
    shot "$E2E_DIR/probe.png"
    if steel_blue "$E2E_DIR/probe.png" "$1" "$2"; then [[ "${3:-}" != "!" ]] && return 0
    else [[ "${3:-}" == "!" ]] && return 0; fi
    sleep 0.1
  done
  return 1
}

start_dock
read -r x y w h < <(geometry "$WID")
((w == 92)) || fail "group 0 (one tile): width $w, expected 92"
pass "group 0 shown: ${w}x$h at $x,$y"

# The panel's right end, past the only tile: a right click there opens the
# background menu at the pointer.
px=$((x + w - 8)) py=$((y + h - 20))
click_at "$px" "$py" 3
wait_menu $((px + 30)) $((py + 12)) || fail "no menu after a right click on the panel"
shot "$shots/background-menu.png"
steel_blue "$shots/background-menu.png" $((px + 4)) $((py + 130)) || fail "the menu is not the background menu"
pass "a right click on the panel opened the background menu"

# F3 goes to the open menu: it shows group 2 (three files exist) and closes the menu.
xdotool key F3
wait_menu $((px + 30)) $((py + 12)) ! || fail "the menu stayed open after F3"
for i in $(seq 50); do
  read -r x y w h < <(geometry "$WID")
  ((w == 196)) && break
  sleep 0.1
done
((w == 196)) || fail "after F3: width $w, expected 196 (three tiles)"
pass "F3 in the open menu showed group 2: width $w"

# A right click on the first tile opens the tile menu: three rows, where the
# background menu has five and a separator.
tx=$((x + 48)) ty=$((y + 77))
click_at "$tx" "$ty" 3
wait_menu $((tx + 30)) $((ty + 12)) || fail "no menu after a right click on a tile"
# The pointer over the first item turns its caption white.
xdotool mousemove $((tx + 60)) $((ty + 25)) sleep 0.2 mousemove_relative 1 0 sleep 0.3
shot "$shots/tile-menu.png"
steel_blue "$shots/tile-menu.png" $((tx + 4)) $((ty + 90)) || fail "the tile menu is not steel blue"
steel_blue "$shots/tile-menu.png" $((tx + 4)) $((ty + 130)) && fail "the menu is not the tile menu"
pass "a right click on a tile opened the tile menu"
xdotool key Escape
wait_menu $((tx + 30)) $((ty + 12)) ! || fail "Escape left the tile menu open"

stop_dock
summary
