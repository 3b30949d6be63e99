#!/usr/bin/env bash
# The settings window and the parameter window driven as a user drives them,
# against the real binary: F12 opens the settings window centred on the
# screen; a new icon size typed into it is applied and saved by every way of
# closing it ("Close", Escape, the window manager's close); the tile menu's
# パラメータ編集 opens the parameter window, whose 変更 writes the new hint to
# the group file and rebuilds the dock, and the tile's tooltip then shows it.
# Screenshots of both windows are left in $E2E_SHOTS when that is set.
# Usage: windows.sh PATH_TO_DOCK_EXECUTABLE
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"
shots=${E2E_SHOTS:-$E2E_DIR}
mkdir -p "$shots"
ini="$E2E_HOME/Pondwillow.ini"
group="$E2E_HOME/PondwillowPath0.txt"

for f in one.txt two.txt three.txt; do echo x >"$E2E_HOME/$f"; done
printf '%s,,One\r\n%s,,Two\r\n%s,,Three\r\n' \
  "$E2E_HOME/one.txt" "$E2E_HOME/two.txt" "$E2E_HOME/three.txt" >"$group"
printf '[Form]\r\nLeft=400\r\nTop=300\r\n[Refrect]\r\nMode=mbottom\r\n' >"$ini"
tiles=3

# ---- helpers ----------------------------------------------------------------------

# The dock at the bottom edge with a gap of 4: the window is 40 + n * (size +
# 4) long, tile i starts at 24 + i * (size + 4), the tiles' middle lies 48
# above the window's lower side whatever their size.
gap=4
length_for() { echo $((40 + tiles * ($1 + gap))); }
dock_is() { # x y w h
  local g
  read -r -a g < <(geometry "$WID")
  [[ "${g[*]}" == "$*" ]]
}

# The shown window of the dock's process with the given title.
find_window() { # title
  xdotool search --all --onlyvisible --pid "$DOCK_PID" --name "^$1\$" 2>/dev/null | head -n1
}
window_gone() { # wid
  ! xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'
}
# Any shown window of the dock's process but the dock (a menu, a tooltip).
other_window() {
  xdotool search --onlyvisible --pid "$DOCK_PID" 2>/dev/null | grep -v "^$WID$" | head -n1
}
has_other_window() { [[ -n $(other_window) ]]; }
no_other_window() { [[ -z $(other_window) ]]; }

# Clicks at x y of the window's client area.
click_in() { # wid x y
  local g
  read -r -a g < <(geometry "$1")
  xdotool mousemove $((g[0] + $2)) $((g[1] + $3)) mousemove_relative 1 0 click 1
}

# Puts the pointer on tile I of a dock of tiles SIZE wide: from outside the
# dock, then a 1 px nudge, so the dock sees the pointer move onto the tile.
point_at_tile() { # i size
  local g
  read -r -a g < <(geometry "$WID")
  xdotool mousemove 1000 900
  xdotool mousemove $((g[0] + 24 + $1 * ($2 + gap) + $2 / 2)) $((g[1] + g[3] - 48))
  xdotool mousemove_relative 1 0
}

# The window's client size and where its frame, decorations included, stands:
# "W H FX FY FW FH".
frame_of() { # wid
  local x y w h l r t b
  read -r x y w h < <(geometry "$1")
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "$w $h $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
centred() { # wid
  local f
  read -r -a f < <(frame_of "$1")
  near $((f[2] + f[4] / 2)) 960 1 && near $((f[3] + f[5] / 2)) 540 1
}
# Checks the window's client size and that its frame is centred on the
# 1920x1080 screen.
expect_centred() { # wid width height what
  local f
  read -r -a f < <(frame_of "$1")
  ((f[0] == $2 && f[1] == $3)) || fail "$4: client area ${f[0]}x${f[1]}, expected $2x$3"
  wait_until 5 centred "$1" || {
    read -r -a f < <(frame_of "$1")
    fail "$4: the frame ${f[4]}x${f[5]} at ${f[2]},${f[3]} is not centred on the screen"
  }
}

# F12 on the dock; sets $SWID to the settings window.
open_settings() {
  activate "$WID"
  xdotool key F12
  SWID=$(timeout 10 xdotool search --sync --all --onlyvisible --pid "$DOCK_PID" --name '^設定$' |
    head -n1) || fail "F12 opened no window titled 設定"
  [[ -n $SWID && $SWID != "$WID" ]] || fail "F12 opened no settings window"
  # The window takes the focus when it maps; keys go to it from now on.
  activate "$SWID"
  expect_centred "$SWID" 733 482 "the settings window"
}

# Types a new icon size into the settings window's icon size field.
type_icon_size() { # size
  # The field (client 336,106, 65x24) left of its arrows.
  click_in "$SWID" 350 118
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 30 "$1"
}

# Waits for the settings window to close and the dock to show SIZE tiles at
# its place, with a settings file that holds that size.
expect_applied() { # how size
  local how=$1 size=$2
  wait_until 10 window_gone "$SWID" || fail "$how: the settings window stayed open"
  wait_until 10 dock_is "$x0" "$y0" "$(length_for "$size")" "$h0" ||
    fail "$how: the dock is $(geometry "$WID"), expected $x0 $y0 $(length_for "$size") $h0"
  wait_until 5 test -f "$ini" || fail "$how: no settings file written"
  [[ $(ini_value "$ini" Icon Size) == "$size" ]] ||
    fail "$how: [Icon] Size=$(ini_value "$ini" Icon Size), expected $size"
}

# ---- the settings window ----------------------------------------------------------

start_dock
dock_length() { geometry "$WID" | cut -d' ' -f3; }
length_is() { [[ $(dock_length) == "$1" ]]; }
wait_until 10 length_is "$(length_for 48)" || fail "three tiles of 48: the dock is $(geometry "$WID")"
read -r x0 y0 w0 h0 < <(geometry "$WID")
((x0 == 400)) || fail "the dock stands at $x0,$y0, not at Left 400"
pass "the dock shows three tiles of 48: ${w0}x$h0 at $x0,$y0"

open_settings
pass "F12 opens 設定, client area 733x482, its frame centred on the screen"

type_icon_size 64
# The size takes effect at close: the dock keeps its tiles while the window is open.
sleep 0.3
dock_is "$x0" "$y0" "$w0" "$h0" || fail "the icon size changed the dock before the window closed"
shot "$shots/settings-window.png"
rm -f "$ini"
# The "Close" button (client 224,400, 193x49) at its middle.
click_in "$SWID" 320 424
expect_applied "Close" 64
pass "64 typed as the icon size and Close: the dock is $(length_for 64) long (3 x 16 more), as thick as before, and [Icon] Size=64 is saved"

# Return in the field presses no button: no dialog opens, the window stays.
open_settings
type_icon_size 56
xdotool key Return
! wait_until 1 bash -c "xdotool search --onlyvisible --pid $DOCK_PID | grep -qvE '^($WID|$SWID)\$'" ||
  fail "Return in the icon size field opened a window: $(xdotool search --onlyvisible --pid "$DOCK_PID" |
    xargs -n1 xdotool getwindowname)"
window_gone "$SWID" && fail "Return in the icon size field closed the settings window"
pass "Return in the icon size field opens no dialog and leaves the settings window open"
rm -f "$ini"
xdotool key Escape
expect_applied "Escape" 56
pass "Escape closes the settings window and applies and saves like Close: 56"

open_settings
type_icon_size 40
rm -f "$ini"
# The window manager's close command, as the close box gives it.
xdotool key alt+F4
expect_applied "the window manager's close" 40
pass "the window manager's close applies and saves like Close: 40"
size=40

# ---- the parameter window -----------------------------------------------------------

# Hovers tile I until its tooltip shows; prints the tooltip window's width.
tooltip_width() { # i
  local tip
  wait_until 5 no_other_window || fail "a window of the dock stays open: $(other_window)"
  point_at_tile "$1" "$size"
  wait_until 10 has_other_window || fail "hovering tile $1 shows no tooltip"
  tip=$(other_window)
  geometry "$tip" | cut -d' ' -f3
}

old_tip=$(tooltip_width 1)
xdotool mousemove 1000 900

hint="Renamed in the parameter window"
stamp=$(stat -c '%y' "$group")
activate "$WID"
point_at_tile 1 "$size"
xdotool click 3
wait_until 5 has_other_window || fail "a right click on a tile opened no menu"
# 新規追加, 削除, パラメータ編集: the menu opens below and right of the pointer,
# so the first Down selects the first item.
xdotool key Down Down Down Return
PWID=$(timeout 10 xdotool search --sync --all --onlyvisible --pid "$DOCK_PID" \
  --name '^パラメータ編集$' | head -n1) || fail "パラメータ編集 opened no parameter window"
expect_centred "$PWID" 322 252 "the parameter window"
pass "パラメータ編集 in the tile menu opens the parameter window, client area 322x252, centred"

activate "$PWID"
# The parameter field has the focus; Tab moves to the hint field.
xdotool key Tab ctrl+a
xdotool type --delay 20 "$hint"
shot "$shots/parameter-window.png"
# Tab to 変更 and press it.
xdotool key Tab space
wait_until 10 window_gone "$PWID" || fail "変更 left the parameter window open"
wait_until 5 bash -c "[[ \$(stat -c '%y' '$group') != '$stamp' ]]" || fail "変更 wrote no group file"
expected=$(printf '%s,,One\n%s,,%s\n%s,,Three' "$E2E_HOME/one.txt" "$E2E_HOME/two.txt" "$hint" \
  "$E2E_HOME/three.txt")
[[ $(tr -d '\r' <"$group") == "$expected" ]] || fail "after 変更 the group file is: $(cat "$group")"
pass "変更 writes the new hint of the second entry to the group file, the other lines as they were"

# The rebuilt tile carries the new hint: its tooltip is far wider than that of
# the three-letter hint before.
new_tip=$(tooltip_width 1)
shot "$shots/tooltip.png"
((new_tip > old_tip + 100)) || fail "the tooltip is $new_tip wide after the change, $old_tip before"
dock_is "$x0" "$y0" "$(length_for "$size")" "$h0" || fail "after 変更 the dock is $(geometry "$WID")"
pass "the rebuilt tile's tooltip holds the new hint: $old_tip -> $new_tip px wide"

xdotool mousemove 1000 900
stop_dock
summary
