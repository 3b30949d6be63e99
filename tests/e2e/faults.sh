#!/usr/bin/env bash
# Settings the dock cannot use as they stand, and saves the system refuses:
# values no screen can show, a full disk, a folder the user cannot write to.
# In every case the dock stays usable, the old files stay whole and the user
# is told why.
# Usage: faults.sh PATH_TO_DOCK_EXECUTABLE
source "$(dirname "$0")/lib.sh"
start_x
dock=$1

# The error box the dock shows: a second visible window titled as the dock.
error_box() {
  local i box
  for i in $(seq 50); do
    box=$(xdotool search --onlyvisible --name '^Pondwillow$' | grep -v "^$WID$" | head -n1 || true)
    [[ -n "$box" ]] && { echo "$box"; return 0; }
    sleep 0.1
  done
  return 1
}

# Ctrl+X on a dock whose settings cannot be written: the error box shows, the
# dock stays; after OK a log-off ends it with status 1, the reason on
# standard error once, and the settings file as it was.
check_refused_save() {
  local what=$1 reason=$2 ini="$E2E_HOME/Pondwillow.ini" before box
  before=$(sha256sum <"$ini")
  start_dock
  activate "$WID"; xdotool key --clearmodifiers ctrl+x
  box=$(error_box) || fail "$what: no error box"
  kill -0 "$DOCK_PID" 2>/dev/null || fail "$what: the dock closed without its settings"
  [[ -n "${E2E_SHOTS:-}" ]] && shot "$E2E_SHOTS/refused-$what.png"
  activate "$box"; xdotool key Return
  sleep 0.3
  kill -TERM "$DOCK_PID"
  wait_dock_exit
  ((DOCK_RC == 1)) || fail "$what: exit status $DOCK_RC after a refused save"
  local reports
  reports=$(grep -c "Pondwillow.ini に書き込めません: $reason" "$E2E_DIR/dock.log" || true)
  ((reports == 1)) || fail "$what: $reports reports naming '$reason': $(cat "$E2E_DIR/dock.log")"
  [[ $(sha256sum <"$ini") == "$before" ]] || fail "$what: the settings file changed"
  [[ -z $(find "$E2E_HOME" -name '*.tmp') ]] || fail "$what: a temporary file was left"
  pass "$what: the save is refused with '$reason', the file kept, the dock exits 1"
}

# ---- values no screen can show -------------------------------------------------
prepare_home "$dock"
printf '%s,,dock\r\n' "$E2E_HOME/Pondwillow" >"$E2E_HOME/PondwillowPath0.txt"
printf '[Icon]\r\nSize=100000\r\nGapH=100000\r\nJump=1000000000\r\n[Back]\r\nSize=100000\r\n' \
  >"$E2E_HOME/Pondwillow.ini"
start_dock
read -r x y w h < <(geometry "$WID")
((w <= 32767 && h <= 32767)) || fail "huge values: window $w x $h"
activate "$WID"; xdotool key --clearmodifiers ctrl+x
wait_dock_exit
((DOCK_RC == 0)) || fail "huge values: exit status $DOCK_RC"
ini="$E2E_HOME/Pondwillow.ini"
for key in Icon:Size Icon:GapH Icon:Jump Back:Size; do
  [[ $(ini_value "$ini" "${key%:*}" "${key#*:}") == 2048 ]] ||
    fail "huge values: $key saved as $(ini_value "$ini" "${key%:*}" "${key#*:}")"
done
pass "huge values: a ${w}x$h window that answers Ctrl+X and saves the values it used"

# ---- a full disk ----------------------------------------------------------------
# The dock keeps its files beside its executable, so both go on a small file
# system of their own, which is then filled. Mounting needs root.
disk="$E2E_DIR/disk"
mkdir -p "$disk"
size=$(( $(stat -c %s "$dock") / 1024 + 1024 ))
if mount -t tmpfs -o "size=${size}k" tmpfs "$disk" 2>/dev/null; then
  trap 'umount "$disk" 2>/dev/null || true; e2e_cleanup' EXIT
  prepare_home "$dock" "$disk"
  printf '[Custom]\r\nFoo=bar\r\n[Icon]\r\nSize=48\r\n' >"$E2E_HOME/Pondwillow.ini"
  printf '%s,,dock\r\n' "$E2E_HOME/Pondwillow" >"$E2E_HOME/PondwillowPath0.txt"
  dd if=/dev/zero of="$disk/filler" bs=4k >/dev/null 2>&1 || true
  dd if=/dev/zero of="$disk/filler2" bs=1 >/dev/null 2>&1 || true
  check_refused_save "full disk" "No space left on device"
  umount "$disk" 2>/dev/null || true
else
  echo "skipped: the full-disk case needs root to mount a small file system"
fi

# ---- a folder the user cannot write to ------------------------------------------
# Root writes anywhere: as root the dock runs as the unprivileged user nobody.
prepare_home "$dock" "$E2E_DIR/readonly"
printf '[Icon]\r\nSize=48\r\n' >"$E2E_HOME/Pondwillow.ini"
printf '%s,,dock\r\n' "$E2E_HOME/Pondwillow" >"$E2E_HOME/PondwillowPath0.txt"
chmod 0555 "$E2E_HOME"
chmod 0644 "$E2E_HOME/Pondwillow.ini"
if (($(id -u) == 0)); then
  chmod 0755 "$E2E_DIR"
  E2E_RUN_AS="setpriv --reuid=nobody --regid=nogroup --clear-groups"
fi
E2E_RUN_AS=${E2E_RUN_AS:-} check_refused_save "read-only folder" "Permission denied"
chmod 0755 "$E2E_HOME"
summary
