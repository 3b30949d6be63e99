#!/usr/bin/env bash
# The dock as an X client of a Wayland compositor's Xwayland, as a Wayland
# session runs it: GNOME's compositor (mutter) or weston, each headless. At
# each stored place the dock stands exactly there, at its size, with no frame
# (weston wraps every X window in a frame that draws only a shadow: the dock
# must sit in its middle, with no title bar), and it stays there. Under mutter,
# whose Xwayland takes input from xdotool, F3 and F1 switch groups, a click on
# a tile starts its program and Ctrl+X writes the place to the settings file.
# Headless weston has no seat, so its Xwayland gets no keys and no pointer
# (moving the pointer crashes it): the dock is ended as a log-off ends it,
# which writes the place too.
# Usage: xwayland.sh mutter|weston PATH_TO_DOCK_EXECUTABLE
source "$(dirname "$0")/lib.sh"
compositor=$1
prepare_home "$2"
add_wayland_module "$2"

skip() { echo "SKIP: $*"; exit 77; }

# ---- the compositor ------------------------------------------------------------------
# Each runs in a session of its own: dbus-run-session and Xwayland outlive a
# plain kill, so the whole process group is ended.
case $compositor in
  mutter)
    command -v mutter >/dev/null || skip "mutter is not installed"
    start=(dbus-run-session -- mutter --wayland --headless --virtual-monitor 1920x1080
      --wayland-display=pondwillow-wl)
    announce='Using public X11 display (:[0-9]+)'
    input=1 ;;
  weston)
    command -v weston >/dev/null || skip "weston is not installed"
    start=(weston --backend=headless-backend.so --use-pixman --xwayland --idle-time=0
      --width=1920 --height=1080 --socket=pondwillow-wl --logger-scopes=log,xwm-wm-x11)
    announce='xserver listening on display (:[0-9]+)'
    input=0 ;;
  *) fail "no such compositor: $compositor" ;;
esac
command -v Xwayland >/dev/null || skip "Xwayland is not installed"
export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
log="$E2E_DIR/compositor.log"
setsid "${start[@]}" >"$log" 2>&1 &
group=$!
trap 'kill -- -$group 2>/dev/null || true; wait $group 2>/dev/null || true; e2e_cleanup' EXIT
announced() { [[ $(cat "$log") =~ $announce ]]; }
wait_until 30 announced ||
  skip "$compositor started no Xwayland: $(grep -v '^\s*$' "$log" | tail -n1)"
[[ $(cat "$log") =~ $announce ]]
export DISPLAY=${BASH_REMATCH[1]}
unset XAUTHORITY
for auth in "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.*; do
  [[ -f $auth ]] && export XAUTHORITY=$auth
done
# weston starts its Xwayland for the first X client.
wait_until 30 xwininfo -root >/dev/null 2>&1 || skip "$compositor's Xwayland on $DISPLAY took no client"
# The session as the compositor makes it, Wayland and X both there: the dock
# finds no layer shell and chooses X itself (Qt alone would choose Wayland).
export WAYLAND_DISPLAY=pondwillow-wl XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS

# ---- the dock's files ----------------------------------------------------------------
# Group 0: a program that writes when it started, and two files; group 2: one
# file. A dock of three tiles is 196x126 along the bottom, one tile 92 wide.
ini="$E2E_HOME/Pondwillow.ini"
launched="$E2E_DIR/launched"
printf '#!/bin/sh\ndate +%%s%%N >"%s"\n' "$launched" >"$E2E_HOME/record.sh"
chmod +x "$E2E_HOME/record.sh"
echo a >"$E2E_HOME/a.txt"
echo b >"$E2E_HOME/b.txt"
printf '%s,,Record\r\n%s,,A\r\n%s,,B\r\n' \
  "$E2E_HOME/record.sh" "$E2E_HOME/a.txt" "$E2E_HOME/b.txt" >"$E2E_HOME/PondwillowPath0.txt"
printf '%s,,A\r\n' "$E2E_HOME/a.txt" >"$E2E_HOME/PondwillowPath2.txt"

dock_is() { [[ $(geometry "$WID") == "$*" ]]; }
# The dock's place in the window the compositor wraps it in (itself when it
# has none): "LEFT TOP RIGHT BOTTOM" insets.
insets() {
  local top=$WID parent x y w h fx fy fw fh
  while parent=$(xwininfo -id "$top" -tree | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p') &&
    [[ -n $parent && $parent != 0x0 ]] && ! xwininfo -id "$parent" | grep -q '(the root window)'; do
    top=$parent
  done
  read -r x y w h < <(geometry "$WID")
  read -r fx fy fw fh < <(geometry "$top")
  echo "$((x - fx)) $((y - fy)) $((fx + fw - x - w)) $((fy + fh - y - h))"
}
ended_at() { # how: the stored place must be LEFT TOP
  wait_dock_exit
  ((DOCK_RC == 0)) || fail "ended by $1: exit status $DOCK_RC"
  [[ $(ini_value "$ini" Form Left),$(ini_value "$ini" Form Top) == "$2,$3" ]] ||
    fail "ended by $1: stored at $(ini_value "$ini" Form Left),$(ini_value "$ini" Form Top)," \
      "expected $2,$3"
}

# Starts the dock and waits for it to stand at X Y W H. weston keeps a
# window where it stood when it asked to be mapped, and ignores moves after;
# its window manager's log says where that was. weston itself now and then
# never moves its frame to that place (its repaint races the surface's
# pairing; the log then shows no move of the frame): such a start is made
# again, up to 5 starts.
start_placed() { # what x y w h
  local what=$1 try mapped frame
  shift
  for try in 1 2 3 4 5; do
    start_dock
    ((input)) && break
    wait_until 5 grep -q "XCB_MAP_REQUEST (window $WID," "$log" ||
      fail "$what: weston's log shows no map request of the dock"
    mapped=$(grep "XCB_MAP_REQUEST (window $WID," "$log" | tail -n1)
    [[ $mapped == *", $3x$4 @ $1,$2)" ]] ||
      fail "$what: the dock asked to be mapped as $(grep -o '[0-9]*x[0-9]* @ [-0-9]*,[-0-9]*' \
        <<<"$mapped"), not as $3x$4 @ $1,$2"
    frame=$(sed 's/.*, frame \([0-9]*\),.*/\1/' <<<"$mapped")
    wait_until 5 grep -q "configure window $frame: x=" "$log" && break
    echo "weston did not place its frame (start $try); the dock is started again"
    stop_dock
  done
  wait_until 5 dock_is "$@" || fail "$what: the dock is at $(geometry "$WID"), expected $*"
}

# ---- each stored place -----------------------------------------------------------------
# edge left top -> the window's geometry: on the bottom edge, in the middle,
# upright at the left edge.
while read -r edge left top x y w h; do
  vertical=0
  [[ $edge == mleft ]] && vertical=1
  printf '[Form]\r\nMode=%s\r\nLeft=%s\r\nTop=%s\r\n[Refrect]\r\nMode=%s\r\n[Menu]\r\nIndex=0\r\n' \
    "$vertical" "$left" "$top" "$edge" >"$ini"
  start_placed "$edge at $left,$top" $x $y $w $h
  read -r l t r b < <(insets)
  ((l == t && t == r && r == b)) ||
    fail "$edge at $left,$top: framed, insets left $l top $t right $r bottom $b"
  extents=$(xprop -id "$WID" _NET_FRAME_EXTENTS 2>/dev/null || true)
  [[ $extents != *=* || $extents == *"0, 0, 0, 0"* ]] || fail "$edge: frame extents $extents"
  sleep 1
  dock_is $x $y $w $h || fail "$edge at $left,$top: moved to $(geometry "$WID") a second later"
  if ((input)); then
    activate "$WID"
    xdotool key --clearmodifiers ctrl+x
    ended_at Ctrl+X "$x" "$y"
  else
    kill "$DOCK_PID"
    ended_at SIGTERM "$x" "$y"
  fi
  pass "$compositor, $edge at $left,$top: the dock stands at $x,$y ${w}x$h with no frame" \
    "(insets $l), stays there and stores that place"
done <<'EOF'
mbottom 862 954 862 954 196 126
mbottom 400 300 400 300 196 126
mleft 0 300 0 300 126 196
EOF

((input)) || { summary; exit 0; }

# ---- keys and the pointer (mutter) ----------------------------------------------------
printf '[Form]\r\nMode=0\r\nLeft=862\r\nTop=954\r\n[Refrect]\r\nMode=mbottom\r\n' >"$ini"
start_dock
wait_until 5 dock_is 862 954 196 126 || fail "restarted, the dock is at $(geometry "$WID")"
rm -f "$launched"
point_at_tile 0
xdotool click 1
wait_until 10 test -s "$launched" || fail "a click on the program's tile started nothing"
pass "$compositor: a click on a tile starts its program"
sleep 0.5
# group key -> the window's geometry
while read -r key x y w h; do
  activate "$WID"
  xdotool key "$key"
  wait_until 5 dock_is $x $y $w $h || fail "$key: the dock is at $(geometry "$WID"), expected $x $y $w $h"
done <<'EOF'
F3 862 954 92 126
F1 862 954 196 126
F3 862 954 92 126
EOF
pass "$compositor: F3 and F1 switch groups, the window resized in place"
activate "$WID"
xdotool key --clearmodifiers ctrl+x
ended_at Ctrl+X 862 954
[[ $(ini_value "$ini" Menu Index) == 2 ]] || fail "Ctrl+X stored group $(ini_value "$ini" Menu Index)"
pass "$compositor: Ctrl+X stores the place 862,954 and group 2"
summary
