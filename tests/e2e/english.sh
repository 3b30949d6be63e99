#!/usr/bin/env bash
# The dock in the user's language: started with LANGUAGE=en and no settings
# file, its menus, the settings window and the parameter window are in
# English and the settings file it writes names the groups "Menu 1" to
# "Menu 5"; started again under a Japanese locale it shows its Japanese texts
# and leaves the stored names as they are. Screenshots of both menus and both
# windows in English are left in $E2E_SHOTS (en-*.png) when that is set.
# Usage: english.sh PATH_TO_DOCK_EXECUTABLE
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"
shots=${E2E_SHOTS:-$E2E_DIR}
mkdir -p "$shots"
ini="$E2E_HOME/Pondwillow.ini"

for f in one.txt two.txt three.txt; do echo x >"$E2E_HOME/$f"; done
printf '%s,,One\r\n%s,,Two\r\n%s,,Three\r\n' \
  "$E2E_HOME/one.txt" "$E2E_HOME/two.txt" "$E2E_HOME/three.txt" >"$E2E_HOME/PondwillowPath0.txt"

find_window() { # title
  xdotool search --all --onlyvisible --pid "$DOCK_PID" --name "^$1\$" 2>/dev/null | head -n1
}
# Any shown window of the dock's process but the dock (a menu).
other_window() {
  xdotool search --onlyvisible --pid "$DOCK_PID" 2>/dev/null | grep -v "^$WID$" | head -n1
}
window_titled() { # title
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$DOCK_PID" 2>/dev/null); do
    [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$1" ]] && return 0
  done
  return 1
}
parameters_gone() { [[ -z $(find_window "Edit Parameters") ]]; }
has_other_window() { [[ -n $(other_window) ]]; }
no_other_window() { [[ -z $(other_window) ]]; }
click_at() { # x y button
  xdotool mousemove 0 0 mousemove "$1" "$2" sleep 0.2 mousemove_relative 1 0 sleep 0.2 click "$3"
}
# The screen around a point, for a screenshot of a menu or a window.
crop_shot() { # file x y w h
  shot "$E2E_DIR/full.png"
  convert "$E2E_DIR/full.png" -crop "$4x$5+$2+$3" +repage "$1"
}

# ---- in English, from a new settings file ---------------------------------------

unset LANGUAGE
E2E_RUN_AS="env LANGUAGE=en" start_dock
read -r x y w h < <(geometry "$WID")

# The background menu: a right click on the panel past the tiles.
px=$((x + w - 8)) py=$((y + h - 20))
click_at "$px" "$py" 3
wait_until 5 has_other_window || fail "no menu after a right click on the panel"
sleep 0.4
# The group list opens beside it: the pointer on グループ選択 (the third row).
read -r mx my mw mh < <(geometry "$(other_window)")
xdotool mousemove $((mx + 40)) $((my + mh / 2)) sleep 0.2 mousemove_relative 1 0 sleep 0.6
crop_shot "$shots/en-background-menu.png" $((mx - 20)) $((my - 20)) 420 260
pass "the background menu opened (en-background-menu.png)"
xdotool key Escape Escape
wait_until 5 no_other_window || fail "Escape left the background menu open"

# The tile menu, and through its third item the parameter window.
tx=$((x + 48)) ty=$((y + 77))
click_at "$tx" "$ty" 3
wait_until 5 has_other_window || fail "no menu after a right click on a tile"
sleep 0.4
read -r mx my mw mh < <(geometry "$(other_window)")
crop_shot "$shots/en-tile-menu.png" $((mx - 20)) $((my - 20)) $((mw + 60)) $((mh + 60))
pass "the tile menu opened (en-tile-menu.png)"
xdotool key Down Down Down Return
pw=$(timeout 10 xdotool search --sync --all --onlyvisible --pid "$DOCK_PID" \
  --name '^Edit Parameters$' | head -n1) || fail "no parameter window titled 'Edit Parameters'"
sleep 0.5
read -r wx wy ww wh < <(geometry "$pw")
crop_shot "$shots/en-parameters.png" $((wx - 10)) $((wy - 40)) $((ww + 20)) $((wh + 50))
pass "the parameter window is titled 'Edit Parameters' (en-parameters.png)"
xdotool key Escape
wait_until 5 parameters_gone || fail "Escape left the parameter window open"

# The settings window, by F12.
activate "$WID"
xdotool key F12
sw=$(timeout 10 xdotool search --sync --all --onlyvisible --pid "$DOCK_PID" --name '^Settings$' |
  head -n1) || fail "F12 opened no window titled 'Settings'"
sleep 0.5
# The colour list's tooltip and the pointer stay out of the picture.
xdotool mousemove 5 5
read -r wx wy ww wh < <(geometry "$sw")
crop_shot "$shots/en-settings.png" $((wx - 10)) $((wy - 40)) $((ww + 20)) $((wh + 50))
pass "F12 opened the settings window titled 'Settings' (en-settings.png)"
xdotool key Escape
sleep 0.5

activate "$WID"
xdotool key ctrl+x
wait_dock_exit
((DOCK_RC == 0)) || fail "the dock exited with status $DOCK_RC"
for i in 0 1 2 3 4; do
  name=$(ini_value "$ini" Menu "Name$i")
  [[ $name == "Menu $((i + 1))" ]] || fail "Name$i in the new settings file: '$name'"
done
pass "the new settings file names the groups Menu 1 to Menu 5"

# ---- in Japanese --------------------------------------------------------------------

# The names in the file are the user's: a Japanese locale shows them as stored.
sed -i 's/^Name1=.*/Name1=Photos\r/' "$ini"
# The locale need not be installed: the dock goes by the variable's value.
E2E_RUN_AS="env LC_ALL=ja_JP.UTF-8" start_dock
activate "$WID"
xdotool key F12
# (xdotool's --name misses a title that the dock's C locale cannot give in
# WM_NAME; getwindowname reads _NET_WM_NAME.)
wait_until 10 window_titled 設定 || fail "under a Japanese locale F12 opened no window titled 設定"
pass "under a Japanese locale the settings window is titled 設定"
xdotool key Escape
sleep 0.5
activate "$WID"
xdotool key ctrl+x
wait_dock_exit
((DOCK_RC == 0)) || fail "the dock exited with status $DOCK_RC"
[[ $(ini_value "$ini" Menu Name0) == "Menu 1" && $(ini_value "$ini" Menu Name1) == "Photos" ]] ||
  fail "the stored group names changed: $(grep '^Name' "$ini" | tr -d '\r' | tr '\n' ' ')"
pass "the stored group names are kept under a Japanese locale"
summary
