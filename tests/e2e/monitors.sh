#!/usr/bin/env bash
# The dock on a desktop of two monitors, A (the primary, 1920x1080 at 0,0) and
# B right of it: a dock stored on B starts there and stays there at each edge
# through a layout pass, the settings window (which opens on B) and a restart;
# it is kept on B's own sides; when B goes away it stands in on A at the same
# edge and comes back when B returns, and the settings file keeps its place on
# B all along; on B at a pixel ratio of 2 its native window is twice its size.
# A file from a one-monitor desktop keeps its meaning.
# Usage: monitors.sh PATH_TO_DOCK_EXECUTABLE
source "$(dirname "$0")/lib.sh"
# Room for a B 1440 high, plugged in later.
start_x_monitors 1920x1080+1920+0 1920x1080+0+0 3840x1440
prepare_home "$1"
ini="$E2E_HOME/Pondwillow.ini"
tall_b=1920x1440+1920+0

for f in one.txt two.txt three.txt; do echo x >"$E2E_HOME/$f"; done
printf '%s,,One\r\n%s,,Two\r\n%s,,Three\r\n' \
  "$E2E_HOME/one.txt" "$E2E_HOME/two.txt" "$E2E_HOME/three.txt" >"$E2E_HOME/PondwillowPath0.txt"

# A dock of three tiles is 196x126 along the top or bottom, 126x196 upright.
write_ini() { # edge left top
  local vertical=0
  [[ $1 == mleft || $1 == mright ]] && vertical=1
  printf '[Form]\r\nMode=%s\r\nLeft=%s\r\nTop=%s\r\n[Refrect]\r\nMode=%s\r\n' \
    "$vertical" "$2" "$3" "$1" >"$ini"
}
size_of() { [[ $1 == mleft || $1 == mright ]] && echo "126 196" || echo "196 126"; }
dock_is() { [[ $(geometry "$WID") == "$*" ]]; }
expect_dock() { # what x y w h
  local what=$1
  shift
  wait_until 5 dock_is "$@" || fail "$what: the dock is at $(geometry "$WID"), expected $*"
}
# The middle of a window's frame, decorations included: "X Y".
frame_centre() { # wid
  local x y w h l r t b
  read -r x y w h < <(geometry "$1")
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "$((x - l + (w + l + r) / 2)) $((y - t + (h + t + b) / 2))"
}
centred_on_b() { # wid
  local c
  read -r -a c < <(frame_centre "$1")
  near "${c[0]}" 2880 1 && near "${c[1]}" 540 1
}

# ---- a file from a one-monitor desktop -----------------------------------------------
# With B unplugged Qt sees A alone: a bottom dock stored right of it comes
# back 32 pixels onto A, as it always has.
unplug_monitor B
write_ini mbottom 2500 300
start_dock
expect_dock "one monitor, stored at 2500,300" 1888 300 196 126
stop_dock
pass "one monitor: a bottom dock stored at Left=2500 shows 32 px of itself at 1888,300"
plug_monitor B 1920x1080+1920+0

# ---- stored on B, at each edge -------------------------------------------------------
for edge in mbottom mtop mleft mright; do
  size=$(size_of $edge)
  write_ini $edge 2500 300
  start_dock
  expect_dock "$edge on B, at start" 2500 300 $size
  activate "$WID"
  xdotool key F1
  sleep 0.5
  expect_dock "$edge on B, after F1" 2500 300 $size
  xdotool key F12
  swid=$(timeout 10 xdotool search --sync --all --onlyvisible --pid "$DOCK_PID" --name '^設定$' |
    head -n1) || fail "$edge: F12 opened no settings window"
  wait_until 5 centred_on_b "$swid" ||
    fail "$edge: the settings window's frame is centred at $(frame_centre "$swid"), not on B"
  activate "$swid"
  xdotool key Escape
  wait_until 10 bash -c "! xwininfo -id $swid 2>/dev/null | grep -q IsViewable" ||
    fail "$edge: Escape left the settings window open"
  expect_dock "$edge on B, after the settings window" 2500 300 $size
  stop_dock
  [[ $(ini_value "$ini" Form Left),$(ini_value "$ini" Form Top) == 2500,300 ]] ||
    fail "$edge: saved at $(ini_value "$ini" Form Left),$(ini_value "$ini" Form Top)"
  start_dock
  expect_dock "$edge on B, after a restart" 2500 300 $size
  stop_dock
  pass "$edge: stored on B at 2500,300, it starts there and stays through F1," \
    "the settings window (centred on B) and a restart"
done

# ---- kept on B's own sides, and standing in on A while B is away ---------------------
# B is 1440 high now. Each dock reaches beyond B's side at its edge, its
# middle on B, and is kept at that side of B; without B it stands at the same
# side of A.
plug_monitor B $tall_b
# edge left top -> on B: x y; on A: x y
while read -r edge left top bx by ax ay; do
  size=$(size_of $edge)
  write_ini $edge $left $top
  start_dock
  expect_dock "$edge kept on B" $bx $by $size
  stop_dock
  cp "$ini" "$E2E_DIR/on-b.ini"
  start_dock
  expect_dock "$edge kept on B, after a restart" $bx $by $size
  unplug_monitor B
  expect_dock "$edge, B unplugged" $ax $ay $size
  cmp -s "$ini" "$E2E_DIR/on-b.ini" || fail "$edge: the settings file changed when B went away"
  plug_monitor B $tall_b
  expect_dock "$edge, B plugged in again" $bx $by $size
  unplug_monitor B
  expect_dock "$edge, B unplugged again" $ax $ay $size
  # Ended while it stands in on A, the dock keeps its place on B.
  stop_dock
  cmp -s "$ini" "$E2E_DIR/on-b.ini" ||
    fail "$edge: ended while B was away, it saved $(diff <(tr -d '\r' <"$E2E_DIR/on-b.ini") \
      <(tr -d '\r' <"$ini") | sed -n 's/^> //p' | tr '\n' ' ')instead of its place on B"
  plug_monitor B $tall_b
  pass "$edge: kept at B's side at $bx,$by; without B at A's at $ax,$ay," \
    "back on B when it returns; the file keeps B"
done <<'EOF'
mbottom 2500 1350 2500 1314 580 954
mright 3760 300 3714 300 1794 300
mleft 1900 300 1920 300 0 300
EOF

# ---- B at a pixel ratio of 2 ---------------------------------------------------------
# B is 960x720 in Qt's logical pixels from 1920,0; the dock at 2100,200 of
# them stands at 2280,400 of the screen's pixels and is twice its size there,
# at every start.
export QT_SCREEN_SCALE_FACTORS="A=1;B=2"
write_ini mbottom 2100 200
for i in $(seq 20); do
  start_dock
  expect_dock "ratio 2, start $i" 2280 400 392 252
  stop_dock
done
pass "on B at a pixel ratio of 2: 20 of 20 starts at 2280,400, 392x252 pixels"

# Dragged by its panel from A onto B, the dock doubles its pixels there, stays
# under the pointer and, let go, is kept on B at its edge.
write_ini mbottom 1500 954
start_dock
read -r x y w h < <(geometry "$WID")
px=$((x + 10)) py=$((y + h - 10))
xdotool mousemove "$px" "$py"; sleep 0.2
xdotool mousemove $((px + 1)) "$py"; sleep 0.2
xdotool mousedown 1; sleep 0.2
# To B's bottom (B is 1440 pixels high): the grab point's distance from the
# dock's lower side doubles there, which would take the dock below B.
for i in $(seq 10); do
  xdotool mousemove $((px + 1 + i * 100)) $((py + i * (1430 - py) / 10)); sleep 0.1
done
sleep 0.3
xdotool mouseup 1
on_b() {
  read -r x y w h < <(geometry "$WID")
  ((w == 392 && h == 252 && x >= 1920 && x + w <= 3840 && y >= 0 && y + h <= 1440))
}
wait_until 5 on_b || fail "dragged onto B, the dock at $x,$y ${w}x${h} is not on B at twice its size"
((px + 1001 >= x && px + 1001 < x + w && 1430 >= y && 1430 < y + h)) ||
  fail "the dock at $x,$y ${w}x${h} left the pointer at $((px + 1001)),1430"
stop_dock
pass "dragged from A onto B at ratio 2: on B at $x,$y, under the pointer, at twice its size"

# A theme icon with two pictures: 48 pixels of plain red, 96 pixels of a
# one-pixel checkerboard. A tile of 48 covers 96 device pixels on B and shows
# the 96-pixel picture one to one; on A it shows the 48-pixel one.
icons="$E2E_DIR/data/icons/hicolor"
mkdir -p "$icons/48x48/apps" "$icons/96x96/apps"
convert -size 48x48 xc:red "PNG24:$icons/48x48/apps/pondwillow-test.png"
convert -size 96x96 pattern:gray50 -type TrueColor "PNG24:$icons/96x96/apps/pondwillow-test.png"
printf '[Desktop Entry]\nType=Application\nName=Test\nExec=true\nIcon=pondwillow-test\n' \
  >"$E2E_HOME/test.desktop"
printf '%s,,Test\r\n' "$E2E_HOME/test.desktop" >"$E2E_HOME/PondwillowPath0.txt"
export XDG_DATA_HOME="$E2E_DIR/data"
# ratio left top -> the window's place on the screen, the tile's side in
# pixels and the picture it shows
while read -r ratio left top x y side picture; do
  write_ini mbottom $left $top
  start_dock
  wait_until 5 dock_is $x $y $((92 * ratio)) $((126 * ratio)) ||
    fail "one tile at ratio $ratio: the dock is at $(geometry "$WID")"
  import -window root -crop "${side}x${side}+$((x + 24 * ratio))+$((y + 54 * ratio))" \
    "$E2E_DIR/tile-$ratio.png"
  stop_dock
  differ=$(compare -metric AE -fuzz 10% "$E2E_DIR/tile-$ratio.png" "$icons/$picture" null: 2>&1) ||
    true
  [[ $differ == 0 ]] ||
    fail "ratio $ratio: the tile's $side pixels differ from $picture in $differ pixels"
done <<EOF
2 2100 200 2280 400 96 96x96/apps/pondwillow-test.png
1 300 200 300 200 48 48x48/apps/pondwillow-test.png
EOF
unset QT_SCREEN_SCALE_FACTORS XDG_DATA_HOME
pass "a tile shows the theme's 96-pixel picture pixel for pixel at ratio 2, the 48-pixel one at 1"
summary
