#!/usr/bin/env bash
# An entry whose file is missing as the dock starts (a USB drive not mounted
# yet) shows no tile but stays in the group file: a file dropped in add mode
# and add mode left both write the group with that line still second, exactly
# as it was. Once the file is there, showing the group again (F2, then F1)
# brings its tile back in its place: the second tile starts it.
# Usage: absent_entry.sh PATH_TO_DOCK_EXECUTABLE PATH_TO_DRAG_SOURCE
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drag.sh"
dock=$1
E2E_DRAG_SOURCE=$2

# Whether group 0's file is exactly these lines, each ended by CR LF.
group_is() { cmp -s "$group_file" <(printf '%s\r\n' "$@"); }
stamp_changed() { [[ $(stat -c '%i %y' "$group_file") != "$1" ]]; }
exists() { [[ -e $1 ]]; }

start_x
prepare_home "$dock"
group_file="$E2E_HOME/PondwillowPath0.txt"
# A desktop of the test's own, so that a launch opens nothing on the machine.
desk="$E2E_DIR/desk"
mkdir -p "$desk/data" "$desk/config" "$desk/none"
export XDG_DATA_HOME="$desk/data" XDG_CONFIG_HOME="$desk/config"
export XDG_DATA_DIRS="$desk/none:/usr/share" XDG_CONFIG_DIRS="$desk/none"
unset DBUS_SESSION_BUS_ADDRESS

docs="$E2E_DIR/docs"
usb="$E2E_DIR/usb stick"
mkdir -p "$docs"
echo a >"$docs/a.txt"
echo b >"$docs/b.txt"
echo c >"$docs/c.txt"
echo report >"$docs/report.txt"
line_a="$docs/a.txt,,A"
# Quoted and with a comma in its hint: the dock would write another line for
# the same entry, so only the line kept as read passes.
line_usb="\"$usb/tool.sh\",--from-usb,\"Tool, one\""
line_b="$docs/b.txt,,B"
line_report="$docs/report.txt,,report"
printf '%s\r\n' "$line_a" "$line_usb" "$line_b" >"$group_file"
printf '%s\r\n' "$docs/c.txt,,C" >"$E2E_HOME/PondwillowPath1.txt"
printf '[Form]\r\nMode=0\r\nLeft=300\r\nTop=300\r\n[Refrect]\r\nMode=mbottom\r\n' \
  >"$E2E_HOME/Pondwillow.ini"

start_dock
wait_until 5 width_is "$(width_for 2)" || fail "a group of two present files: width $(dock_width)"
pass "the entry on the missing drive shows no tile: two tiles"

# ---- a drop writes the group: the missing file's line stays second ----------------
activate "$WID"
xdotool key --clearmodifiers ctrl+n
sleep 0.3
drag_in "$docs/report.txt" 12 78
[[ "$DRAG_RESULT" == copied ]] || fail "the drop in add mode was refused: '$DRAG_RESULT'"
wait_until 5 width_is "$(width_for 3)" || fail "after the drop the width is $(dock_width)"
end_drag
wait_until 5 group_is "$line_a" "$line_usb" "$line_b" "$line_report" ||
  fail "after the drop the group file is: $(tr -d '\r' <"$group_file")"
pass "a drop writes the group with the missing file's line second, as it was"

stamp=$(stat -c '%i %y' "$group_file")
activate "$WID"
xdotool key --clearmodifiers ctrl+n
wait_until 5 stamp_changed "$stamp" ||
  fail "leaving add mode wrote no group file"
group_is "$line_a" "$line_usb" "$line_b" "$line_report" ||
  fail "after leaving add mode the group file is: $(tr -d '\r' <"$group_file")"
pass "leaving add mode writes it again, the line still second"

# ---- the drive is back: the group shown again has the tile second -----------------
mkdir -p "$usb"
launch_log="$E2E_DIR/launch.log"
# The tool writes its arguments to a log, renamed into place when complete.
cat >"$usb/tool.sh" <<EOF
#!/bin/sh
for a; do printf 'arg=%s\n' "\$a"; done >"$launch_log.part" && mv "$launch_log.part" "$launch_log"
EOF
chmod +x "$usb/tool.sh"
activate "$WID"
xdotool key F2
wait_until 5 width_is "$(width_for 1)" || fail "F2: width $(dock_width), expected one tile"
activate "$WID"
xdotool key F1
wait_until 5 width_is "$(width_for 4)" || fail "F1: width $(dock_width), expected four tiles"
group_is "$line_a" "$line_usb" "$line_b" "$line_report" ||
  fail "showing the group changed its file: $(tr -d '\r' <"$group_file")"
point_at_tile 1
xdotool click 1
wait_until 10 exists "$launch_log" || fail "a click on the second tile started nothing"
[[ $(cat "$launch_log") == "arg=--from-usb" ]] ||
  fail "the second tile started a program with: $(cat "$launch_log")"
pass "with the file back, F2 then F1 show four tiles and the second starts the tool on the drive"
summary
