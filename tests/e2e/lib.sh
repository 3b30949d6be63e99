# Shared set-up for the end-to-end tests: a private X server with a window
# manager and a compositor, and a private copy of the dock (the dock keeps its
# files next to its executable). Source it, then call start_x and start_dock.
set -euo pipefail

E2E_PIDS=()
E2E_DIR=$(mktemp -d /tmp/pondwillow-e2e.XXXXXX)

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [[ -z "${E2E_KEEP:-}" ]]; then rm -rf "$E2E_DIR"; else echo "kept $E2E_DIR"; fi
}
trap e2e_cleanup EXIT

# Each check that held is counted; the closing line gives the count, and a
# failed check ends the script with it.
E2E_PASSED=0
fail() {
  echo "FAIL: $*" >&2
  [[ -s "$E2E_DIR/dock.log" ]] && { echo "--- dock output:" >&2; tail -n 40 "$E2E_DIR/dock.log" >&2; }
  shot "$E2E_DIR/failure.png" || true
  echo "$E2E_PASSED passed, 1 failed"
  exit 1
}
pass() { echo "ok: $*"; E2E_PASSED=$((E2E_PASSED + 1)); }
# The closing line of a script whose checks all held.
summary() { echo "$E2E_PASSED passed, 0 failed"; }

# Xvfb picks a free display and tells it on fd 3. $E2E_RUN_AS, when set, is a
# command the X server, the window manager and the compositor run under.
start_x() {
  local size=${1:-1920x1080x24}
  local fifo="$E2E_DIR/display"
  mkfifo "$fifo"
  ${E2E_RUN_AS:-} Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  local num
  read -r -t 20 num <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=":$num"
  ${E2E_RUN_AS:-} openbox --sm-disable >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  local i
  # openbox names itself before it lists what it supports; xdotool's
  # windowactivate needs _NET_ACTIVE_WINDOW in that list.
  for i in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
      xprop -root _NET_SUPPORTED 2>/dev/null | grep -q '_NET_ACTIVE_WINDOW' && break
    sleep 0.1
  done
  ${E2E_RUN_AS:-} xcompmgr >/dev/null 2>&1 &
  E2E_PIDS+=($!)
}

# Two monitors on one X screen, as RandR monitors Qt sees as two screens: A,
# the primary (it holds the screen's only output), at 0,0, and B, by default
# 1920x1080 right of A. Geometries are WxH+X+Y. The X screen is the box around
# both, or SCREEN (WxH) when given: Xvfb cannot grow it later, so a script
# that plugs a larger B later asks for room at the start. start_x leaves the
# window manager connected; without another client Xvfb would reset when
# xrandr disconnects, and the monitors would vanish.
# QT_SCREEN_SCALE_FACTORS="A=1;B=2" gives B a device pixel ratio of 2: Qt keeps
# B's top-left at 1920,0 and halves its size (960x540 logical).
start_x_monitors() { # [B] [A] [SCREEN]
  local b=${1:-1920x1080+1920+0} a=${2:-1920x1080+0+0} g w=0 h=0
  for g in "$a" "$b"; do
    [[ $g =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "monitor geometry '$g' is not WxH+X+Y"
    w=$((BASH_REMATCH[1] + BASH_REMATCH[3] > w ? BASH_REMATCH[1] + BASH_REMATCH[3] : w))
    h=$((BASH_REMATCH[2] + BASH_REMATCH[4] > h ? BASH_REMATCH[2] + BASH_REMATCH[4] : h))
  done
  start_x "${3:-${w}x$h}x24"
  plug_monitor A "$a" screen
  plug_monitor B "$b"
  [[ $(xrandr --listmonitors | head -n1) == "Monitors: 2" ]] || fail "xrandr: $(xrandr --listmonitors)"
}

# Plugs in a monitor (at 96 dpi); a monitor of that name is unplugged first,
# as RandR will not change one in place. Qt reports it about 20 ms later.
plug_monitor() { # NAME WxH+X+Y [OUTPUT]
  [[ $2 =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "monitor geometry '$2' is not WxH+X+Y"
  local w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} at="+${BASH_REMATCH[3]}+${BASH_REMATCH[4]}"
  xrandr --listmonitors | grep -q " $1 " && unplug_monitor "$1"
  xrandr --setmonitor "$1" "$w/$(((w * 254 + 480) / 960))x$h/$(((h * 254 + 480) / 960))$at" \
    "${3:-none}" >/dev/null || fail "xrandr could not plug in $1 at $2"
}
unplug_monitor() { xrandr --delmonitor "$1" >/dev/null || fail "xrandr could not unplug $1"; }

# Makes a window the active one. On a loaded machine xdotool now and then
# finds the window manager's list of what it supports without
# _NET_ACTIVE_WINDOW and gives up at once; it is asked again, up to 5 times.
activate() {
  local i
  for i in 1 2 3 4; do
    xdotool windowactivate --sync "$1" 2>/dev/null && return 0
    sleep 0.2
  done
  xdotool windowactivate --sync "$1"
}

# Copies the binary into a fresh home directory: $E2E_HOME (or the folder
# given second).
prepare_home() {
  E2E_HOME="${2:-$E2E_DIR/home}"
  mkdir -p "$E2E_HOME"
  cp "$1" "$E2E_HOME/Pondwillow"
}

# Puts the Wayland module built beside the binary $1 into $E2E_HOME, as an
# unpacked dock has it.
add_wayland_module() {
  local module
  module="$(dirname "$1")/pondwillow-wayland.so"
  [[ ! -f $module ]] || cp "$module" "$E2E_HOME/"
}

# Starts the dock from $E2E_HOME and waits for its window: $DOCK_PID, $WID.
# $E2E_RUN_AS, when set, is a command the dock runs under (another user).
# The dock speaks the language of the locale; the scripts look for its
# Japanese captions and for the system's reasons in English in its messages,
# so it runs in the C.UTF-8 locale (its own Japanese texts) whatever the
# machine's. A script asks for another with E2E_RUN_AS="env LANGUAGE=en".
start_dock() {
  (cd "$E2E_HOME" && exec env -u LANGUAGE LC_ALL=C.UTF-8 ${E2E_RUN_AS:-} ./Pondwillow) \
    >"$E2E_DIR/dock.log" 2>&1 &
  DOCK_PID=$!
  E2E_PIDS+=($DOCK_PID)
  WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pondwillow$' | head -n1) ||
    fail "the dock window did not appear"
  sleep 0.5
}

# Ends the dock as a log-off does and checks that it exited cleanly (a
# sanitizer report at shutdown makes the status non-zero).
stop_dock() {
  kill "$DOCK_PID"
  wait_dock_exit
  ((DOCK_RC == 0)) || fail "the dock exited with status $DOCK_RC"
}

# Waits for the dock to exit; sets $DOCK_RC.
wait_dock_exit() {
  local i
  for i in $(seq 100); do
    kill -0 "$DOCK_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$DOCK_PID" 2>/dev/null && fail "the dock did not exit"
  DOCK_RC=0
  wait "$DOCK_PID" || DOCK_RC=$?
}

# Prints X Y W H of the window, as the X server has it.
geometry() {
  local info
  info=$(xwininfo -id "$1")
  echo "$(awk '/Absolute upper-left X/{print $NF}' <<<"$info")" \
       "$(awk '/Absolute upper-left Y/{print $NF}' <<<"$info")" \
       "$(awk '/  Width:/{print $NF}' <<<"$info")" \
       "$(awk '/  Height:/{print $NF}' <<<"$info")"
}

ini_value() { # file section key
  awk -v s="[$2]" -v k="$3" -F= '
    { sub(/\r$/, "") }
    /^\[/ { in_s = ($0 == s) ; next }
    in_s && $1 == k { print substr($0, length(k) + 2); exit }' "$1"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Runs the command every 20 ms until it succeeds; fails after SECONDS.
wait_until() { # seconds command...
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    (($(now_ms) < deadline)) || return 1
    sleep 0.02
  done
}

shot() { import -window root "$1" 2>/dev/null; }

# The colour of one pixel of a screenshot, as "R G B".
pixel() { # shot x y
  convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r)] %[fx:int(255*p{'"$2,$3"'}.g)] %[fx:int(255*p{'"$2,$3"'}.b)]' info:
}
# True when the pixel is the menus' (and the focus ring's) steel blue,
# 70 130 180, give or take (6 unless told).
steel_blue() { # shot x y [tolerance]
  local r g b t=${4:-6}
  read -r r g b < <(pixel "$1" "$2" "$3")
  near "$r" 70 "$t" && near "$g" 130 "$t" && near "$b" 180 "$t"
}
near() { # a b tolerance
  local d=$(( $1 - $2 )); d=${d#-}
  (( d <= $3 ))
}

# The dock's tile layout with the default settings at the bottom edge: a tile
# is 48 wide with a gap of 4, the first starts 24 from the left, the tiles'
# middle is 78 from the top; the window is 40 + 52 per tile wide.
slot=52
width_for() { echo $((40 + slot * $1)); }
# One xwininfo and no other process, so that polling it times the dock to a
# few milliseconds.
dock_width() {
  local info
  info=$(xwininfo -id "$WID")
  [[ $info =~ Width:\ ([0-9]+) ]] && echo "${BASH_REMATCH[1]}"
}
width_is() { [[ $(dock_width) == "$1" ]]; }

# Puts the pointer on tile N: from outside the dock, then a 1 px nudge, so the
# dock sees the pointer move onto the tile.
point_at_tile() {
  local g
  read -r -a g < <(geometry "$WID")
  xdotool mousemove 1000 900
  xdotool mousemove $((g[0] + 48 + slot * $1)) $((g[1] + 78))
  xdotool mousemove_relative 1 0
}
