#!/usr/bin/env bash
# The dock as a layer surface of a headless sway, as a Wayland session starts
# it (no QT_QPA_PLATFORM, no X display): at each screen edge and in the middle
# it shows exactly where the same dock shows under Xvfb with openbox; a
# pointer resting on a tile shows the tile's hint beside it; after a
# click F3 and F1 switch groups with the surface anchored where it was, a drag
# by the panel moves it, the panel's and a tile's menus open at the pointer and
# work, and Ctrl+X saves the position that is on screen.
# Arguments: the dock, ON when the build has layer surfaces, the virtual
# pointer's click program (empty when it could not be built).
# sway will not run as root: started as root, the compositor runs as an
# unprivileged user (pwtest, made for the test when missing); the dock, a
# client, may be root.
source "$(dirname "$0")/lib.sh"
dock=$1 built=${2:-OFF} click=${3:-}
[[ $built == ON ]] || { echo "skipped: this build has no layer surfaces (no protocol file at build time)"; exit 77; }
for tool in sway grim wtype Xvfb; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[[ -x $click ]] || fail "the virtual pointer's click program was not built"

back='#336699'
chmod 0711 "$E2E_DIR"
run="$E2E_DIR/wl-runtime"
mkdir -p "$run" "$E2E_DIR/sway-home"
run_as=()
made_user=0
if [[ $(id -u) -eq 0 ]]; then
  user=pwtest
  id -u "$user" >/dev/null 2>&1 || {
    useradd --user-group --no-create-home --home-dir /nonexistent --shell /bin/sh "$user"
    made_user=1
  }
  chown "$user:" "$run" "$E2E_DIR/sway-home"
  run_as=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups)
fi
chmod 0700 "$run"
cat >"$E2E_DIR/sway.conf" <<EOF
output HEADLESS-1 mode 1920x1080 position 0 0 bg $back solid_color
output HEADLESS-2 mode 1920x1080 position 1920 0 bg $back solid_color
xwayland disable
default_border none
EOF
chmod 0644 "$E2E_DIR/sway.conf"

# sway in a session of its own, ended with its whole process group.
sway_pid=""
sway_cleanup() {
  local i
  if [[ -n $sway_pid ]]; then
    kill -- -"$sway_pid" 2>/dev/null
    # The user can be removed once none of its processes is left.
    for i in $(seq 50); do kill -0 -- -"$sway_pid" 2>/dev/null || break; sleep 0.1; done
  fi
  if ((made_user)); then userdel "$user" 2>/dev/null || echo "could not remove the user $user" >&2; fi
  e2e_cleanup
}
trap sway_cleanup EXIT
setsid "${run_as[@]}" env -i PATH=/usr/bin:/bin HOME="$E2E_DIR/sway-home" XDG_RUNTIME_DIR="$run" \
  WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -c "$E2E_DIR/sway.conf" >"$E2E_DIR/sway.log" 2>&1 &
sway_pid=$!
wait_until 20 test -S "$run/wayland-1" || { cat "$E2E_DIR/sway.log" >&2; fail "sway did not start"; }
wl=(env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY="$run/wayland-1")
wait_until 10 "${wl[@]}" grim "$E2E_DIR/probe.png" || fail "grim cannot take a picture of sway's output"

start_x
xsetroot -solid "$back"
prepare_home "$dock"
add_wayland_module "$dock"
for f in notes.txt script.sh picture.png; do echo x >"$E2E_HOME/$f"; done
# The second tile's program writes its arguments where the test looks.
printf '#!/bin/sh\necho "$@" >"%s"\n' "$E2E_DIR/launched" >"$E2E_HOME/script.sh"
chmod 0755 "$E2E_HOME/script.sh"
write_group() {
  printf '%s,,Notes\r\n%s,-v,Script\r\n%s,,Picture\r\n' \
    "$E2E_HOME/notes.txt" "$E2E_HOME/script.sh" "$E2E_HOME/picture.png" >"$E2E_HOME/PondwillowPath0.txt"
}
write_group
printf '%s,,Notes\r\n' "$E2E_HOME/notes.txt" >"$E2E_HOME/PondwillowPath2.txt"

# What the dock shows: the box around every pixel that is not the background,
# as WxH+X+Y.
box_of() { convert "$1" -fuzz 1% -transparent "$back" -format '%@' info: 2>/dev/null; }
wl_box() { "${wl[@]}" grim "$E2E_DIR/wl.png" && box_of "$E2E_DIR/wl.png"; }
x_box() { shot "$E2E_DIR/x.png" && box_of "$E2E_DIR/x.png"; }
# Holds once the dock's box is BOX (or any box, when BOX is empty).
wl_box_is() { local b; b=$(wl_box) && [[ $b != 0x0* && ( -z $1 || $b == "$1" ) ]]; }

# The dock under sway, started as a Wayland session starts it.
start_wl_dock() {
  mkdir -p "$E2E_DIR/dock-runtime"
  chmod 0700 "$E2E_DIR/dock-runtime"
  (cd "$E2E_HOME" && exec "${wl[@]}" XDG_RUNTIME_DIR="$E2E_DIR/dock-runtime" ./Pondwillow) \
    >"$E2E_DIR/dock.log" 2>&1 &
  DOCK_PID=$!
  E2E_PIDS+=($DOCK_PID)
  wait_until 20 wl_box_is "${1:-}" || fail "no dock on sway's output (box $(wl_box))"
  # Until the picture stops changing (the tiles' pictures arrive).
  local before=""
  until [[ $(wl_box) == "$before" ]]; do before=$(wl_box); sleep 0.3; done
}

ini() { printf '[Form]\r\nMode=%s\r\nLeft=%s\r\nTop=%s\r\n[Refrect]\r\nMode=%s\r\n' "$@" >"$E2E_HOME/Pondwillow.ini"; }

# Moves a box WxH+X+Y right by N pixels.
shifted() { [[ $1 =~ ^([0-9]+x[0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && echo "${BASH_REMATCH[1]}+$((BASH_REMATCH[2] + $2))+${BASH_REMATCH[3]}"; }

# name vertical left top edge [monitor's left]: the stored place; the first
# four are kept on the screen at their own edge; the last stands on sway's
# second monitor, and under X at the same place on the only one.
cases=(
  "bottom 0 800 2000 mbottom"
  "top 0 800 -70 mtop"
  "left 1 -40 400 mleft"
  "right 1 1850 400 mright"
  "middle 0 800 450 mbottom"
  "second-monitor 0 2400 450 mbottom 1920"
)
for c in "${cases[@]}"; do
  read -r name vertical left top edge monitor <<<"$c"
  monitor=${monitor:-0}
  ini "$vertical" $((left - monitor)) "$top" "$edge"
  start_dock
  sleep 0.5
  want=$(shifted "$(x_box)" "$monitor")
  stop_dock
  ini "$vertical" "$left" "$top" "$edge"
  start_wl_dock "$want"
  got=$(wl_box)
  [[ $got == "$want" ]] || fail "$name: under sway at $got, under X at $want"
  [[ -n ${E2E_SHOTS:-} ]] && cp "$E2E_DIR/wl.png" "$E2E_SHOTS/sway-$name.png"
  stop_dock
  pass "$name: under sway where it is under X ($got)"
done

# ---- tooltips: popups of the dock's surface below the pointer -------------------
# With the hint setting on, a pointer resting on a tile shows the tile's hint
# just below the pointer; moved on to the next tile, that tile's hint there (a
# longer text: "Script -> -v"); once it leaves the dock, none. A tooltip is
# told by Qt's pale yellow, which nothing else on the screen has. The virtual
# pointer lives while it hovers: were it destroyed, the dock would hear it
# leave.
ini 0 800 2000 mbottom
printf '[Hint]\r\nShow=1\r\n' >>"$E2E_HOME/Pondwillow.ini"
start_wl_dock
[[ $(wl_box) =~ ^[0-9]+x[0-9]+\+([0-9]+)\+([0-9]+)$ ]] || fail "box $(wl_box)"
tx=${BASH_REMATCH[1]} ty=${BASH_REMATCH[2]}
# The box around the tooltip's colour, as WxH+X+Y (0x0+... when none shows).
tip_box() {
  "${wl[@]}" grim "$E2E_DIR/tip.png" &&
    convert "$E2E_DIR/tip.png" -fuzz 2% -fill black +opaque '#ffffdc' -format '%@' info: 2>/dev/null
}
# Holds once a tooltip wider than MIN px, 10 to 40 high, shows with its
# top-left corner within 30 px right of and 40 below X,Y: $tip is its box.
tip_near() { # x y min
  tip=$(tip_box) && [[ $tip =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] &&
    ((BASH_REMATCH[1] > $3 && BASH_REMATCH[2] >= 10 && BASH_REMATCH[2] <= 40)) &&
    ((BASH_REMATCH[3] >= $1 - 5 && BASH_REMATCH[3] <= $1 + 30)) &&
    ((BASH_REMATCH[4] >= $2 && BASH_REMATCH[4] <= $2 + 40))
}
[[ $(tip_box) == 0x0* ]] || fail "the tooltip's colour shows before any hover ($(tip_box))"
exec {hover}> >(exec "${wl[@]}" "$click" -m 3840 1080)
E2E_PIDS+=($!)
px=$((tx + 48)) py=$((ty + 48))
echo "$px $py" >&"$hover"
wait_until 5 tip_near $px $py 20 ||
  fail "no tooltip below the first tile's pointer at $px,$py (the tooltip's colour at $(tip_box))"
[[ -n ${E2E_SHOTS:-} ]] && cp "$E2E_DIR/tip.png" "$E2E_SHOTS/sway-tooltip.png"
first=$tip
pass "a pointer resting on the first tile shows its hint below the pointer ($first)"
px=$((px + slot))
echo "$px $py" >&"$hover"
wait_until 5 tip_near $px $py $((${first%%x*} + 20)) ||
  fail "no longer tooltip below the second tile's pointer at $px,$py (first $first, now $(tip_box))"
pass "moved on to the second tile, the pointer shows its longer hint there ($tip)"
echo "400 400" >&"$hover"
wait_until 5 eval '[[ $(tip_box) == 0x0* ]]' || fail "the tooltip stays after the pointer left the dock ($(tip_box))"
pass "the tooltip goes once the pointer leaves the dock"
exec {hover}>&-
stop_dock

# ---- keys after a click, the saved position -------------------------------------
# Stored below the screen, the dock stands at its bottom: 800,954.
ini 0 800 2000 mbottom
start_wl_dock
home_box=$(wl_box)
[[ $home_box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "box $home_box"
w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
# On the panel, left of the first tile: the click gives the dock the keyboard.
"${wl[@]}" "$click" $((x + 8)) $((y + h / 2)) 3840 1080 || fail "the click did not reach sway"
sleep 0.3
"${wl[@]}" wtype -s 200 -k F3
wait_until 5 wl_box_is "$((w - 2 * slot))x$h+$x+$y" ||
  fail "F3: the dock shows at $(wl_box), expected one tile at $((w - 2 * slot))x$h+$x+$y"
pass "F3 shows group 2 (one tile) at the same place"
"${wl[@]}" wtype -s 200 -k F1
wait_until 5 wl_box_is "$home_box" || fail "F1: the dock shows at $(wl_box), expected $home_box"
pass "F1 shows group 0 again at $home_box"
# A click on the second tile starts its program with the entry's parameter.
"${wl[@]}" "$click" $((x + 48 + slot)) $((y + 48)) 3840 1080 || fail "the click did not reach sway"
wait_until 5 grep -qx -- -v "$E2E_DIR/launched" || fail "a click on the second tile started nothing"
wait_until 5 wl_box_is "$home_box" || fail "after the jump the dock shows at $(wl_box)"
pass "a click on a tile starts its program with its parameter"
# Dragged by its panel 300 left and 400 up, the surface follows the pointer.
"${wl[@]}" "$click" $((x + 8)) $((y + h / 2)) 3840 1080 $((x + 8 - 300)) $((y + h / 2 - 400)) ||
  fail "the drag did not reach sway"
sleep 0.5
moved=$(wl_box)
[[ $moved =~ ^${w}x$h\+([0-9]+)\+([0-9]+)$ ]] && near "${BASH_REMATCH[1]}" $((x - 300)) 2 &&
  near "${BASH_REMATCH[2]}" $((y - 400)) 2 ||
  fail "dragged by -300,-400 from $home_box, the dock shows at $moved"
mx=${BASH_REMATCH[1]} my=${BASH_REMATCH[2]}
pass "a drag by its panel moves the surface with the pointer ($moved)"
# ---- menus: layer surfaces of their own at the pointer ---------------------------
# The part of the screen that changed since the picture in $1, as WxH+X+Y.
changed_since() {
  "${wl[@]}" grim "$E2E_DIR/now.png" &&
    convert "$1" "$E2E_DIR/now.png" -compose difference -composite -fuzz 1% -transparent black \
      -format '%@' info: 2>/dev/null
}
# Holds once a menu shows with its top-left corner within 30 px of X,Y.
menu_near() {
  local b
  b=$(changed_since "$E2E_DIR/before.png") || return 1
  [[ $b =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && ((BASH_REMATCH[1] > 60)) &&
    near "${BASH_REMATCH[3]}" "$1" 30 && near "${BASH_REMATCH[4]}" "$2" 30
}
"${wl[@]}" grim "$E2E_DIR/before.png"
# The panel's menu, right of the first tile and further right: Qt makes the
# menu's surface anew at each show, and each gets the role and its place.
for px in $((mx + 8)) $((mx + 20)); do
  py=$((my + h / 2))
  "${wl[@]}" "$click" -r $px $py 3840 1080 || fail "the right click did not reach sway"
  wait_until 5 menu_near $px $py ||
    fail "the panel's menu: changed $(changed_since "$E2E_DIR/before.png"), pointer at $px,$py"
  [[ -n ${E2E_SHOTS:-} ]] && cp "$E2E_DIR/now.png" "$E2E_SHOTS/sway-panel-menu.png"
  "${wl[@]}" wtype -s 200 -k Escape
  wait_until 5 wl_box_is "$moved" || fail "Escape left the panel's menu open ($(wl_box))"
  pass "the panel's menu opens at the pointer ($px,$py) and Escape closes it"
done
# The panel's group submenu, a popup of the menu's popup: its third group
# (one tile) is shown, and F1 brings the first back.
px=$((mx + 8)) py=$((my + h / 2))
"${wl[@]}" grim "$E2E_DIR/before.png"
"${wl[@]}" "$click" -r $px $py 3840 1080 || fail "the right click did not reach sway"
wait_until 5 menu_near $px $py || fail "the panel's menu did not open for the group submenu"
menu=$(changed_since "$E2E_DIR/before.png")
"${wl[@]}" grim "$E2E_DIR/before.png"
"${wl[@]}" "$click" $((px + 40)) $((py + 73)) 3840 1080 || fail "the click did not reach sway"
submenu_open() { [[ $(changed_since "$E2E_DIR/before.png") =~ ^([0-9]+)x[0-9]+\+([0-9]+)\+ ]] && ((BASH_REMATCH[1] > 60)); }
wait_until 5 submenu_open || fail "the group submenu did not open (menu $menu)"
[[ $(changed_since "$E2E_DIR/before.png") =~ ^([0-9]+)x[0-9]+\+([0-9]+)\+ ]]
sub_right=$((BASH_REMATCH[2] + BASH_REMATCH[1]))
"${wl[@]}" "$click" $((sub_right - 60)) $((py + 73 + 51)) 3840 1080 || fail "the click did not reach sway"
wait_until 5 wl_box_is "$(shifted "$((w - 2 * slot))x$h+$mx+$my" 0)" ||
  fail "the submenu's third group: the dock shows at $(wl_box), expected one tile at $mx,$my"
"${wl[@]}" "$click" $((mx + 8)) $((my + h / 2)) 3840 1080 || fail "the click did not reach sway"
sleep 0.3
"${wl[@]}" wtype -s 200 -k F1
wait_until 5 wl_box_is "$moved" || fail "F1 after the submenu: the dock shows at $(wl_box)"
pass "the panel's group submenu opens beside its menu and its third group is shown"
"${wl[@]}" grim "$E2E_DIR/before.png"
# The third tile's menu; its second item removes the entry.
px=$((mx + 48 + 2 * slot)) py=$((my + 48))
"${wl[@]}" "$click" -r $px $py 3840 1080 || fail "the right click did not reach sway"
wait_until 5 menu_near $px $py || fail "the tile's menu: changed $(changed_since "$E2E_DIR/before.png"), pointer at $px,$py"
[[ -n ${E2E_SHOTS:-} ]] && cp "$E2E_DIR/now.png" "$E2E_SHOTS/sway-tile-menu.png"
"${wl[@]}" "$click" $((px + 40)) $((py + 47)) 3840 1080 || fail "the click did not reach sway"
wait_until 5 wl_box_is "$((w - slot))x$h+$mx+$my" || fail "after Delete the dock shows at $(wl_box)"
(($(grep -c . "$E2E_HOME/PondwillowPath0.txt") == 2)) && ! grep -q picture.png "$E2E_HOME/PondwillowPath0.txt" ||
  fail "after Delete the group holds: $(cat "$E2E_HOME/PondwillowPath0.txt")"
pass "the tile's menu opens at the pointer ($px,$py) and its Delete removes the third entry"
# The settings window, an ordinary window, opens on F12; closed with Escape it
# lays the dock out again, and the dock stays anchored where it was.
after_delete="$((w - slot))x$h+$mx+$my"
"${wl[@]}" grim "$E2E_DIR/before.png"
big_window() {
  local b
  b=$(changed_since "$E2E_DIR/before.png") && [[ $b =~ ^([0-9]+)x([0-9]+) ]] &&
    ((BASH_REMATCH[1] > 300 && BASH_REMATCH[2] > 200))
}
"${wl[@]}" wtype -s 200 -k F12
wait_until 5 big_window || fail "F12 opened no settings window (changed $(changed_since "$E2E_DIR/before.png"))"
"${wl[@]}" wtype -s 200 -k Escape
wait_until 5 wl_box_is "$after_delete" ||
  fail "after the settings window the dock shows at $(wl_box), not $after_delete"
pass "the settings window opens and closes; the dock stays at $after_delete"

# "Stay on top" set in the settings window: the dock goes to the top layer,
# still a layer surface (hiding the window would drop its role), at
# the same place. The settings window floats (it has a fixed size); sway's
# tree gives its place.
settings_origin() {
  local sock
  sock=$(ls "$run"/sway-ipc.*.sock 2>/dev/null | head -n1) && [[ -S $sock ]] || return 1
  "${wl[@]}" swaymsg -s "$sock" -t get_tree 2>/dev/null | /usr/bin/python3 -c '
import json, sys
def walk(n):
    if n.get("name") == sys.argv[1] and n.get("pid"):
        r, w = n["rect"], n["window_rect"]
        print(r["x"] + w["x"], r["y"] + w["y"]); sys.exit(0)
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
    sys.exit(1) if n.get("type") == "root" else None
walk(json.load(sys.stdin))' "設定"
}
# A click on the panel gives the dock the keyboard back.
"${wl[@]}" "$click" $((mx + 8)) $((my + h / 2)) 3840 1080 || fail "the click did not reach sway"
sleep 0.3
"${wl[@]}" grim "$E2E_DIR/before.png"
"${wl[@]}" wtype -s 200 -k F12
wait_until 5 big_window || fail "F12 opened no settings window the second time"
wait_until 5 settings_origin >/dev/null || fail "sway's tree has no settings window"
read -r sx sy < <(settings_origin)
# The "Top" choice of the style box.
"${wl[@]}" "$click" $((sx + 24 + 104 + 10)) $((sy + 24 + 24 + 11)) 3840 1080 ||
  fail "the click did not reach sway"
sleep 0.3
"${wl[@]}" wtype -s 200 -k Escape
wait_until 5 wl_box_is "$after_delete" ||
  fail "after stay on top was set the dock shows at $(wl_box), not $after_delete"
pass "stay on top set in the settings window: the dock changes its layer and stays at $after_delete"
# A click on another program's window closes the dock's menu. The program
# opens on the second monitor, where the pointer clicked last.
"${wl[@]}" "$click" 2880 540 3840 1080 || fail "the click did not reach sway"
("${wl[@]}" weston-flower) >"$E2E_DIR/other.log" 2>&1 &
E2E_PIDS+=($!)
first_box() { "${wl[@]}" grim -g "0,0 1920x1080" "$E2E_DIR/first.png" && box_of "$E2E_DIR/first.png"; }
other_shown() {
  local b
  b=$("${wl[@]}" grim -g "1920,0 1920x1080" "$E2E_DIR/second.png" && box_of "$E2E_DIR/second.png") &&
    [[ -n $b && $b != 0x0* ]]
}
wait_until 5 other_shown || fail "the other program's window did not show"
px=$((mx + 48)) py=$((my + 48))
"${wl[@]}" grim "$E2E_DIR/before.png"
"${wl[@]}" "$click" -r $px $py 3840 1080 || fail "the right click did not reach sway"
wait_until 5 menu_near $px $py ||
  fail "the tile's menu on the top-layer dock: changed $(changed_since "$E2E_DIR/before.png"), pointer at $px,$py"
"${wl[@]}" "$click" 2880 540 3840 1080 || fail "the click did not reach sway"
wait_until 5 eval '[[ $(first_box) == "$after_delete" ]]' ||
  fail "a click on another program left the dock's menu open ($(first_box))"
pass "a click on another program closes the dock's menu"
# The click gives the dock the keyboard again.
"${wl[@]}" "$click" $((mx + 8)) $((my + h / 2)) 3840 1080 || fail "the click did not reach sway"
sleep 0.3
# Ctrl+X ends the dock, which saves its settings: the place it shows at (the
# window's top is 30 above the panel at the bottom edge).
"${wl[@]}" wtype -s 200 -M ctrl -k x -m ctrl
wait_dock_exit
((DOCK_RC == 0)) || fail "Ctrl+X: the dock exited with status $DOCK_RC"
saved="$(ini_value "$E2E_HOME/Pondwillow.ini" Form Left),$(ini_value "$E2E_HOME/Pondwillow.ini" Form Top)"
[[ $saved == "$mx,$((my - 30))" ]] || fail "Ctrl+X saved $saved, the dock stood at $mx,$((my - 30))"
[[ $(ini_value "$E2E_HOME/Pondwillow.ini" Mode Top) == 1 ]] ||
  fail "Ctrl+X saved stay on top as '$(ini_value "$E2E_HOME/Pondwillow.ini" Mode Top)'"
pass "Ctrl+X ends the dock and saves $saved, the place on screen, with stay on top"
summary
