#!/usr/bin/env bash
# Whole-process figures of the dock beside Debian's plank dock and the floor
# (bench/floor_window: an empty frameless translucent Qt window of the dock's
# size), measured in one run on one private X server (Xvfb, openbox,
# xcompmgr) and one private session bus, with public tools only: xdotool,
# xprop and /proc.
#
# For each program and each group size (0, 10 and 100 launchers, the same
# desktop entries for both docks):
#   start-up   from exec to the first drawing into a window of the program,
#              as the X server reports it (DAMAGE, bench/first_frame)
#   VmRSS, PSS after the window has settled (SETTLE seconds, pointer away)
#   idle       CPU time (schedstat) and context switches of every thread over
#              IDLE seconds with the pointer away; a thread that exits in the
#              window counts as one wake-up, a thread that starts counts whole
#   sweep      CPU time while the pointer sweeps across all tiles and back for
#              SWEEP seconds (one motion every 20 ms)
# RUNS runs of every case, the programs' order rotated from run to run; the
# table gives medians with min-max. One unrecorded start of each case warms
# the file cache first.
#
# Usage: bash bench/compare.sh        (as root: installs what is missing)
# Environment: RUNS (5), COUNTS ("0 10 100"), SETTLE (5), IDLE (30),
#   SWEEP (5), BUILD (build-rel, a Release build made here), OUT (a new
#   folder under /tmp for the raw figures).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
RUNS=${RUNS:-5}
COUNTS=${COUNTS:-"0 10 100"}
SETTLE=${SETTLE:-5}
IDLE=${IDLE:-30}
SWEEP=${SWEEP:-5}
BUILD=${BUILD:-$root/build-rel}

if [[ -z "${PW_COMPARE_INNER:-}" ]]; then
  need=()
  for pair in plank:plank Xvfb:xvfb xdotool:xdotool openbox:openbox xcompmgr:xcompmgr \
    xprop:x11-utils xwininfo:x11-utils import:imagemagick dbus-run-session:dbus-daemon \
    cmake:cmake ninja:ninja-build; do
    command -v "${pair%%:*}" >/dev/null || need+=("${pair#*:}")
  done
  [[ -f /usr/share/icons/Adwaita/index.theme ]] || need+=(adwaita-icon-theme)
  pkg-config --exists xcb-damage 2>/dev/null || need+=(libxcb-damage0-dev)
  if ((${#need[@]})); then
    echo "installing: ${need[*]}" >&2
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
      --no-install-recommends "${need[@]}" >/dev/null
  fi
  # A Release build of the dock and the floor; never a sanitizer build.
  cmake -S "$root" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" --target Pondwillow floor_window first_frame >/dev/null
  # One session bus for the whole run, as a desktop has; it ends with the run.
  exec env PW_COMPARE_INNER=1 dbus-run-session -- bash "$0" "$@"
fi

source "$root/tests/e2e/lib.sh"
OUT=${OUT:-$(mktemp -d /tmp/pondwillow-compare.XXXXXX)}
mkdir -p "$OUT"
start_x
# Services the bus starts (plank's window matcher) need the display.
dbus-update-activation-environment DISPLAY 2>/dev/null || true
# GSettings without dconf: plank then writes no settings outside its home.
export GSETTINGS_BACKEND=memory
screen_w=1920 screen_h=1080

# ---- fixtures: desktop entries with icons of the installed theme ----------
apps="$E2E_DIR/apps"
mkdir -p "$apps"
mapfile -t icons < <(find /usr/share/icons/Adwaita -path '*48x48*' -name '*.png' -printf '%f\n' |
  sed 's/\.png$//' | sort -u | head -n 100)
max=0
for c in $COUNTS; do ((c > max)) && max=$c; done
for ((i = 0; i < max; i++)); do
  printf '[Desktop Entry]\nType=Application\nName=App %d\nExec=true\nIcon=%s\n' \
    "$i" "${icons[i % ${#icons[@]}]}" >"$apps/app$i.desktop"
done

# ---- per-thread counters -----------------------------------------------------
# One line per thread: tid cpu_ns switches (voluntary + involuntary) name
threads() {
  local t
  for t in /proc/"$1"/task/*; do
    { read -r cpu _ <"$t/schedstat" &&
      awk -v tid="${t##*/}" -v cpu="$cpu" -v name="$(tr ' ' _ <"$t/comm")" \
        '/^voluntary_ctxt|^nonvoluntary_ctxt/ { s += $2 } END { print tid, cpu, s, name }' "$t/status"
    } 2>/dev/null || true
  done
}
# cpu_ms switches wakers, from two snapshots
diff_threads() {
  awk 'NR == FNR { cpu[$1] = $2; sw[$1] = $3; name[$1] = $4; next }
    { c = $2 - ($1 in cpu ? cpu[$1] : 0); s = $3 - ($1 in sw ? sw[$1] : 0)
      seen[$1] = 1; tc += c; ts += s; if (s > 0) w = w $4 ":" s " " }
    END { for (t in cpu) if (!(t in seen)) { ts += 1; w = w name[t] "(exited) " }
      if (w == "") w = "-"; sub(/ $/, "", w); gsub(/ /, ",", w)
      printf "%.3f %d %s\n", tc / 1e6, ts, w }' "$1" "$2"
}

# ---- starting a program and waiting for its window ----------------------------
# Starts "$@" with its output in $E2E_DIR/prog.log, waits until the window
# manager lists a window of the new process ($PID, $WIN), and takes the time
# from exec to the first drawing into a window of the process, as the X
# server reports it (bench/first_frame): $STARTUP_MS.
launch() {
  local spy line id seen=" " t0 wpid frames="$E2E_DIR/first_frame.out" ff i
  : >"$frames"
  "$BUILD/bench/first_frame" >"$frames" 2>>"$E2E_DIR/first_frame.err" &
  ff=$!
  for i in $(seq 100); do grep -q '^ready' "$frames" && break; sleep 0.05; done
  coproc SPY { exec xprop -root -spy _NET_CLIENT_LIST 2>/dev/null; }
  spy=$SPY_PID
  read -r -t 10 line <&"${SPY[0]}" || true
  for id in $(grep -o '0x[0-9a-f]*' <<<"$line"); do seen+="$id "; done
  t0=$EPOCHREALTIME
  "$@" >"$E2E_DIR/prog.log" 2>&1 &
  PID=$!
  E2E_PIDS+=("$PID")
  WIN=
  while [[ -z "$WIN" ]] && read -r -t 60 line <&"${SPY[0]}"; do
    for id in $(grep -o '0x[0-9a-f]*' <<<"$line"); do
      [[ "$seen" == *" $id "* ]] && continue
      seen+="$id "
      wpid=$(xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -o '[0-9]*$' || true)
      [[ "$wpid" == "$PID" ]] && WIN=$id
    done
  done
  kill "$spy" 2>/dev/null || true
  wait "$spy" 2>/dev/null || true
  [[ -n "$WIN" ]] || fail "no window of: $*"
  STARTUP_MS=
  for i in $(seq 200); do
    STARTUP_MS=$(awk -v pid="$PID" -v a="$t0" \
      '$1 == pid { printf "%.1f", ($2 - a) * 1000; exit }' "$frames")
    [[ -n "$STARTUP_MS" ]] && break
    sleep 0.05
  done
  kill "$ff" 2>/dev/null || true
  wait "$ff" 2>/dev/null || true
  [[ -n "$STARTUP_MS" ]] || fail "no drawing into a window of: $*"
}

stop() {
  kill "$PID" 2>/dev/null || true
  local i
  for i in $(seq 50); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$PID" 2>/dev/null || true
  wait "$PID" 2>/dev/null || true
}

# ---- the three programs --------------------------------------------------------
# Each prepares a fresh home and starts the program with COUNT launchers.
start_pondwillow() { # count
  local home="$E2E_DIR/pw-home" i
  rm -rf "$home"; mkdir -p "$home"
  cp "$BUILD/src/Pondwillow" "$home/"
  for ((i = 0; i < $1; i++)); do printf '%s,,App %d\r\n' "$apps/app$i.desktop" "$i"; done \
    >"$home/PondwillowPath0.txt"
  launch env -C "$home" ./Pondwillow
}
start_plank() { # count
  local home="$E2E_DIR/plank-home" i
  rm -rf "$home"
  mkdir -p "$home/.config/plank/dock1/launchers"
  for ((i = 0; i < $1; i++)); do
    printf '[PlankDockItemPreferences]\nLauncher=file://%s\n' "$apps/app$i.desktop" \
      >"$home/.config/plank/dock1/launchers/app$i.dockitem"
  done
  launch env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    XDG_DATA_HOME="$home/.local/share" plank
}
declare -A dock_size
start_floor() { # count
  launch "$BUILD/bench/floor_window" ${dock_size[$1]}
}

# The line the pointer sweeps: x0 x1 y, over the tiles of the window.
sweep_line() { # program
  local x y w h
  read -r x y w h < <(geometry "$WIN")
  if [[ "$1" == plank ]]; then
    # plank's window spans the screen's width; its tiles are the columns of
    # the bottom rows that differ from the background.
    local row=$((screen_h - 20))
    import -window root -crop "${screen_w}x1+0+$row" txt:- 2>/dev/null |
      awk -F'[,:]' -v row="$row" 'NR > 1 && $0 !~ /#808080|gray\(50/ { if (min == "") min = $1; max = $1 }
        END { if (min == "") { min = 0; max = 1919 } print min, max, row }'
  else
    echo "$x" $((x + w - 1)) $((y + h / 2))
  fi
}
sweep() { # x0 x1 y seconds
  local steps=$(($4 * 50)) args=() i x
  for ((i = 0; i < steps; i++)); do
    local p=$((i % 100))
    ((p > 50)) && p=$((100 - p))
    x=$(($1 + ($2 - $1) * p / 50))
    args+=(mousemove "$x" "$3" sleep 0.02)
  done
  xdotool "${args[@]}"
}

# ---- one measurement -----------------------------------------------------------
measure() { # program count run
  local prog=$1 n=$2 run=$3 a b idle sweepres rss pss line
  xdotool mousemove 0 0
  "start_$prog" "$n"
  sleep "$SETTLE"
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$PID/status")
  pss=$(awk '/^Pss:/ { print $2 }' "/proc/$PID/smaps_rollup")
  local nthreads
  nthreads=$(ls "/proc/$PID/task" | wc -l)
  a=$(threads "$PID"); sleep "$IDLE"; b=$(threads "$PID")
  idle=$(diff_threads <(echo "$a") <(echo "$b"))
  line=$(sweep_line "$prog")
  a=$(threads "$PID"); sweep $line "$SWEEP"; b=$(threads "$PID")
  sweepres=$(diff_threads <(echo "$a") <(echo "$b"))
  stop
  read -r icpu isw iwho <<<"$idle"
  read -r scpu _ _ <<<"$sweepres"
  printf '%s\t%d\t%d\t%s\t%d\t%d\t%s\t%d\t%s\t%d\t%s\n' "$prog" "$n" "$run" "$STARTUP_MS" \
    "$rss" "$pss" "$icpu" "$isw" "$scpu" "$nthreads" "$iwho" >>"$OUT/raw.tsv"
  printf '  %-9s %4d entries, run %d: start-up %s ms, RSS %d kB, PSS %d kB, idle %s ms %d switches (%s), sweep %s ms\n' \
    "$prog" "$n" "$run" "$STARTUP_MS" "$rss" "$pss" "$icpu" "$isw" "$iwho" "$scpu" >&2
}

printf 'program\tentries\trun\tstartup_ms\trss_kb\tpss_kb\tidle_cpu_ms\tidle_switches\tsweep_cpu_ms\tthreads\tidle_wakers\n' >"$OUT/raw.tsv"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "load before: $load_before" >&2

# Warm-up: one unrecorded start of each case; it also gives the dock's size,
# which the floor takes.
for n in $COUNTS; do
  start_pondwillow "$n"
  read -r _ _ w h < <(geometry "$WIN")
  dock_size[$n]="$w $h"
  stop
  start_plank "$n"; sleep 1; stop
  start_floor "$n"; stop
done

programs=(pondwillow plank floor)
for ((run = 1; run <= RUNS; run++)); do
  for n in $COUNTS; do
    for ((k = 0; k < 3; k++)); do
      measure "${programs[(k + run - 1) % 3]}" "$n" "$run"
    done
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
echo "load after: $load_after" >&2

# ---- the table ----------------------------------------------------------------
# median (min-max) of column COL for program and count
stat() { # program count column scale decimals
  awk -F'\t' -v p="$1" -v n="$2" -v c="$3" 'NR > 1 && $1 == p && $2 == n { print $c }' "$OUT/raw.tsv" |
    sort -g | awk -v s="$4" -v d="$5" '{ v[NR] = $1 / s }
      END { if (!NR) { print "-"; exit }
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        f = "%." d "f"; printf(f " (" f "–" f ")\n", m, v[1], v[NR]) }'
}
median() { # program count column
  awk -F'\t' -v p="$1" -v n="$2" -v c="$3" 'NR > 1 && $1 == p && $2 == n { print $c }' "$OUT/raw.tsv" |
    sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
names=([0]="Pondwillow" [1]="plank (Debian)" [2]="floor (empty Qt window)")
{
  echo "| entries | program | start-up, ms | VmRSS, MiB | PSS, MiB | idle ${IDLE} s: CPU, ms | idle ${IDLE} s: context switches | pointer sweep ${SWEEP} s: CPU, ms |"
  echo "|---|---|---|---|---|---|---|---|"
  for n in $COUNTS; do
    for k in 0 1 2; do
      p=${programs[k]}
      echo "| $n | ${names[k]} | $(stat "$p" "$n" 4 1 0) | $(stat "$p" "$n" 5 1024 1) | $(stat "$p" "$n" 6 1024 1) | $(stat "$p" "$n" 7 1 1) | $(stat "$p" "$n" 8 1 0) | $(stat "$p" "$n" 9 1 0) |"
    done
  done
  echo
  echo "Medians with min–max of $RUNS runs; load average (1, 5, 15 min) $load_before before, $load_after after."
  for n in $COUNTS; do
    awk -v n="$n" -v s="$(median pondwillow "$n" 4)" -v sf="$(median floor "$n" 4)" \
      -v r="$(median pondwillow "$n" 5)" -v rf="$(median floor "$n" 5)" \
      -v q="$(median pondwillow "$n" 6)" -v qf="$(median floor "$n" 6)" \
      -v w="$(median pondwillow "$n" 9)" -v wp="$(median plank "$n" 9)" 'BEGIN {
        printf "%d entries: start-up %.2f× the floor, VmRSS %.2f×, PSS %.2f×, sweep %.2f× plank'"'"'s\n",
          n, s / sf, r / rf, q / qf, (wp > 0 ? w / wp : 0) }'
  done
  echo
  echo "Threads that woke while idle (name:switches), per run:"
  awk -F'\t' 'NR > 1 { printf "- %s, %s entries, run %s: %s\n", $1, $2, $3, $11 }' "$OUT/raw.tsv"
} | tee "$OUT/table.md"
echo "raw figures: $OUT/raw.tsv" >&2
