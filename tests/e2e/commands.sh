#!/usr/bin/env bash
# The dock's commands given as a user gives them, against the real binary:
# a click launches a program with its parameters split but never run by a
# shell, a .desktop file starts its own program, Shift-click launches nothing,
# F3 and F1 switch groups, Ctrl+N and a file dragged in from another program
# register it, Shift-press and Shift-release reorder, the tile menu deletes,
# Ctrl+X ends the dock and writes its settings.
# The dock runs with XDG folders of the test's own, so nothing on the machine
# is opened: every application it can start is a recorder that writes what it
# received to a log.
# Prints the time from a click to the program's start and from F3 to the
# window's new size; they are measured, not checked.
# Usage: commands.sh PATH_TO_DOCK_EXECUTABLE PATH_TO_DRAG_SOURCE
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drag.sh"
dock=$1
E2E_DRAG_SOURCE=$2

# ---- helpers ----------------------------------------------------------------------

# wait_until without the pause, for a measurement.
poll_until() { # seconds command...
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    (($(now_ms) < deadline)) || return 1
  done
}


# The group file's lines without their CR LF.
group_lines() { tr -d '\r' <"$E2E_HOME/PondwillowPath$1.txt"; }
# Whether group 0's file holds exactly the lines given.
group_is() { [[ $(group_lines 0 2>/dev/null) == "$1" ]]; }
file_stamp() { stat -c '%i %y' "$1"; }
stamp_changed() { [[ $(file_stamp "$1") != "$2" ]]; }
exists() { [[ -e $1 ]]; }

activate_dock() { activate "$WID"; }

# ---- a desktop of the test's own --------------------------------------------------
start_x
prepare_home "$dock"
desk="$E2E_DIR/desk"
mkdir -p "$desk/data/applications" "$desk/config" "$desk/none"
export XDG_DATA_HOME="$desk/data" XDG_CONFIG_HOME="$desk/config"
export XDG_DATA_DIRS="$desk/none:/usr/share" XDG_CONFIG_DIRS="$desk/none"
unset DBUS_SESSION_BUS_ADDRESS

# A recorder writes the time it started (ns), its working directory and its
# arguments, a line each, then renames the log into place so a reader never
# sees half of it.
make_recorder() { # path log
  cat >"$1" <<EOF
#!/bin/sh
t=\$(date +%s%N)
{ printf 'time=%s\n' "\$t"; printf 'cwd=%s\n' "\$PWD"; for a; do printf 'arg=%s\n' "\$a"; done; } >"$2.part" && mv "$2.part" "$2"
EOF
  chmod +x "$1"
}
tools="$E2E_DIR/my tools"
mkdir -p "$tools"
launch_log="$E2E_DIR/launch.log"
editor_log="$E2E_DIR/editor.log"
make_recorder "$tools/record.sh" "$launch_log"
make_recorder "$desk/data/record.sh" "$launch_log"
# The "text editor": what a text file, or a .desktop file taken as a document,
# would open in.
make_recorder "$desk/data/editor.sh" "$editor_log"
printf '[Desktop Entry]\nType=Application\nName=Editor\nExec=%s %%f\nMimeType=text/plain;application/x-desktop;\n' \
  "$desk/data/editor.sh" >"$desk/data/applications/editor.desktop"
printf '[Default Applications]\ntext/plain=editor.desktop\napplication/x-desktop=editor.desktop\n' \
  >"$desk/config/mimeapps.list"
# The tile's .desktop file: not executable, as such files usually are.
printf '[Desktop Entry]\nType=Application\nName=Tool\nExec=%s from-desktop\nPath=%s\n' \
  "$desk/data/record.sh" "$desk/data" >"$tools/tool.desktop"
docs="$E2E_DIR/docs"
mkdir -p "$docs" "$E2E_DIR/drop box"
echo a >"$docs/a.txt"
echo b >"$docs/b.txt"
echo c >"$docs/c.txt"
echo report >"$E2E_DIR/drop box/report.final.txt"

# Shell syntax in the parameters: quotes group words, but nothing is expanded
# or run, not even inside double quotes.
read -r params <<'EOF'
-v "two words" 'single $(touch pwned1)' ; `touch pwned2` | "dq $(touch pwned3)" x\ y $HOME
EOF
# shellcheck disable=SC2016 # the single quotes keep the shell syntax as text
expected_args=(-v "two words" 'single $(touch pwned1)' ';' '`touch' 'pwned2`' '|'
  'dq $(touch pwned3)' 'x y' '$HOME')

line_a="$tools/record.sh,$params,Recorder"
line_b="$tools/tool.desktop,,Tool"
line_c="$docs/a.txt,,A"
line_d="$docs/b.txt,,B"
printf '%s\r\n' "$line_a" "$line_b" "$line_c" "$line_d" >"$E2E_HOME/PondwillowPath0.txt"
printf '%s\r\n' "$docs/c.txt,,C" "$docs/a.txt,,A" >"$E2E_HOME/PondwillowPath2.txt"
printf '[Form]\r\nMode=0\r\nLeft=300\r\nTop=300\r\n[Refrect]\r\nMode=mbottom\r\n' \
  >"$E2E_HOME/Pondwillow.ini"

start_dock
wait_until 5 width_is "$(width_for 4)" || fail "a group of four tiles: width $(dock_width)"

# ---- a click launches the program, split as a shell would, run by none ------------
delays=()
for i in 1 2 3 4 5; do
  rm -f "$launch_log"
  point_at_tile 0
  t0=$(date +%s%N)
  xdotool click 1
  wait_until 10 exists "$launch_log" || fail "click $i on the program's tile launched nothing"
  t1=$(sed -n 's/^time=//p' "$launch_log")
  delays+=($(((t1 - t0) / 1000000)))
  # The tile's jump (0.4 s out and back) ends before the next click.
  sleep 0.5
done
mapfile -t got < <(sed -n 's/^arg=//p' "$launch_log")
[[ "${got[*]@Q}" == "${expected_args[*]@Q}" ]] ||
  fail "the program received ${got[*]@Q}, expected ${expected_args[*]@Q}"
cwd=$(sed -n 's/^cwd=//p' "$launch_log")
[[ "$cwd" == "$tools" ]] || fail "the program ran in '$cwd', expected '$tools'"
ran=$(find "$E2E_DIR" -name 'pwned*')
[[ -z "$ran" ]] || fail "the parameters were run by a shell: $ran"
pass "a click starts the program in its folder with ${#got[@]} arguments split as a shell would, none expanded or run"
mapfile -t sorted < <(printf "%s\n" "${delays[@]}" | sort -n)
click_median=${sorted[2]}
echo "measured: click -> program start, median ${click_median} ms of 5 (${delays[*]} ms)"

# ---- a .desktop file starts its program, not an editor ----------------------------
rm -f "$launch_log"
point_at_tile 1
xdotool click 1
wait_until 10 exists "$launch_log" || fail "the .desktop tile launched nothing"
mapfile -t got < <(sed -n 's/^arg=//p' "$launch_log")
[[ "${got[*]}" == "from-desktop" ]] || fail "the .desktop tile started its program with '${got[*]}'"
[[ $(sed -n 's/^cwd=//p' "$launch_log") == "$desk/data" ]] ||
  fail "the .desktop program ran in $(sed -n 's/^cwd=//p' "$launch_log")"
[[ ! -e "$editor_log" ]] || fail "the .desktop file was opened as a document: $(cat "$editor_log")"
pass "a .desktop tile starts its Exec program in its Path, not the editor for its type"

# ---- Shift-click launches nothing ------------------------------------------------
# The dock asks whether Shift is down when it handles the press and the
# release, not what the event says, so Shift stays down until the dock has
# handled the release: the release of a Shift-click moves the tile onto its
# own place, which writes the group file.
rm -f "$launch_log"
before=$(sha256sum <"$E2E_HOME/PondwillowPath0.txt")
stamp=$(file_stamp "$E2E_HOME/PondwillowPath0.txt")
sleep 0.5
point_at_tile 0
xdotool keydown shift click 1
wait_until 5 stamp_changed "$E2E_HOME/PondwillowPath0.txt" "$stamp" ||
  { xdotool keyup shift; fail "a Shift-click wrote no group file"; }
xdotool keyup shift
! wait_until 1 exists "$launch_log" || fail "a Shift-click launched: $(cat "$launch_log")"
[[ $(sha256sum <"$E2E_HOME/PondwillowPath0.txt") == "$before" ]] ||
  fail "a Shift-click changed the group: $(group_lines 0)"
pass "a Shift-click launches nothing in 1 s and leaves the group's order as it was"

# ---- F3 shows group 2, F1 group 0 ------------------------------------------------
activate_dock
t0=$(now_ms)
xdotool key F3
poll_until 5 width_is "$(width_for 2)" || fail "F3: width $(dock_width), expected $(width_for 2)"
switch_ms=$(($(now_ms) - t0))
activate_dock
t0=$(now_ms)
xdotool key F1
poll_until 5 width_is "$(width_for 4)" || fail "F1: width $(dock_width), expected $(width_for 4)"
back_ms=$(($(now_ms) - t0))
pass "F3 shows group 2 (two tiles), F1 group 0 (four tiles)"
echo "measured: key sent -> window resized, F3 ${switch_ms} ms, F1 ${back_ms} ms"

# ---- Shift-press on tile 0, Shift-release on tile 2: A B C D -> B C A D ----------
stamp=$(file_stamp "$E2E_HOME/PondwillowPath0.txt")
point_at_tile 0
xdotool keydown shift mousedown 1
read -r -a g < <(geometry "$WID")
for x in 60 100 140 $((48 + 2 * slot)); do
  xdotool mousemove $((g[0] + x)) $((g[1] + 78))
  sleep 0.05
done
xdotool mouseup 1
wait_until 5 stamp_changed "$E2E_HOME/PondwillowPath0.txt" "$stamp" ||
  { xdotool keyup shift; fail "the Shift move wrote no group file"; }
xdotool keyup shift
expected=$(printf '%s\n' "$line_b" "$line_c" "$line_a" "$line_d")
[[ $(group_lines 0) == "$expected" ]] || fail "after the move the group is: $(group_lines 0)"
width_is "$(width_for 4)" || fail "after the move the width is $(dock_width)"
pass "Shift-press on tile 0 and Shift-release on tile 2 turn A B C D into B C A D"

# ---- a drop registers a file only in add mode --------------------------------------
# Beside the first tile, at the panel's left end.
report="$E2E_DIR/drop box/report.final.txt"
notes="$E2E_DIR/drop box/Notes"
echo notes >"$notes"
before=$(sha256sum <"$E2E_HOME/PondwillowPath0.txt")
drag_in "$report" 12 78
[[ "$DRAG_RESULT" == ignored ]] || fail "a drop outside add mode was taken: '$DRAG_RESULT'"
# Time for a dock that took the file after all to show it.
sleep 0.5
end_drag
[[ $(sha256sum <"$E2E_HOME/PondwillowPath0.txt") == "$before" ]] ||
  fail "a drop outside add mode changed the group: $(group_lines 0)"
width_is "$(width_for 4)" || fail "a drop outside add mode changed the width to $(dock_width)"
pass "outside add mode the dock refuses a dropped file"

activate_dock
xdotool key --clearmodifiers ctrl+n
sleep 0.3
# Each drop: the file, where it lands (x y in the window), the hint it gets.
# Wherever it lands, even on a tile, it becomes the last tile; the hint is the
# file name up to its last dot, the whole name when it has none.
expected=$(printf '%s\n' "$line_b" "$line_c" "$line_a" "$line_d")
tiles=4
drops=("$report|12|78|report.final" "$notes|$((48 + slot))|78|Notes")
for drop in "${drops[@]}"; do
  IFS='|' read -r file x y hint <<<"$drop"
  drag_in "$file" "$x" "$y"
  [[ "$DRAG_RESULT" == copied ]] || fail "the drop of $file in add mode was refused: '$DRAG_RESULT'"
  tiles=$((tiles + 1))
  wait_until 5 width_is "$(width_for $tiles)" || fail "after the drop of $file the width is $(dock_width)"
  end_drag
  expected+=$'\n'"$file,,$hint"
  # The window widens as the tile is laid out, just before the file is
  # written: the file is waited for, not read at the first sight of the width.
  wait_until 5 group_is "$expected" ||
    fail "after the drop of $file the group file is: $(group_lines 0)"
  pass "in add mode (Ctrl+N) $file dropped at $x,$y is the last tile, in the group file at once as '$hint'"
done
line_e="$report,,report.final"
line_f="$notes,,Notes"
[[ -n "${E2E_SHOTS:-}" ]] && { mkdir -p "$E2E_SHOTS"; shot "$E2E_SHOTS/add-mode.png"; }

stamp=$(file_stamp "$E2E_HOME/PondwillowPath0.txt")
before=$(sha256sum <"$E2E_HOME/PondwillowPath0.txt")
activate_dock
xdotool key --clearmodifiers ctrl+n
wait_until 5 stamp_changed "$E2E_HOME/PondwillowPath0.txt" "$stamp" ||
  fail "leaving add mode wrote no group file"
[[ $(sha256sum <"$E2E_HOME/PondwillowPath0.txt") == "$before" ]] ||
  fail "leaving add mode changed the group file: $(group_lines 0)"
width_is "$(width_for 6)" || fail "leaving add mode changed the width to $(dock_width)"
pass "Ctrl+N again leaves add mode and writes the same group file"

# ---- the tile menu's 削除 removes the entry -----------------------------------------
# The menu's items: 新規追加, 削除, パラメータ編集. It opens below and right of
# the pointer, so no item is under the pointer and two Downs reach the second.
menu_shown() {
  xdotool search --onlyvisible --pid "$DOCK_PID" 2>/dev/null | grep -qv "^$WID$"
}
stamp=$(file_stamp "$E2E_HOME/PondwillowPath0.txt")
activate_dock
point_at_tile 1
xdotool click 3
wait_until 5 menu_shown || fail "a right click on a tile opened no menu"
xdotool key Down Down Return
wait_until 5 stamp_changed "$E2E_HOME/PondwillowPath0.txt" "$stamp" ||
  fail "削除 wrote no group file"
expected=$(printf '%s\n' "$line_b" "$line_a" "$line_d" "$line_e" "$line_f")
[[ $(group_lines 0) == "$expected" ]] || fail "after 削除 the group file is: $(group_lines 0)"
wait_until 5 width_is "$(width_for 5)" || fail "after 削除 the width is $(dock_width)"
pass "削除 from the tile menu removes the entry from the group file and its slot from the dock"

# ---- Ctrl+X ends the dock and writes its settings ---------------------------------
rm -f "$E2E_HOME/Pondwillow.ini"
activate_dock
xdotool key --clearmodifiers ctrl+x
wait_dock_exit
((DOCK_RC == 0)) || fail "Ctrl+X: exit status $DOCK_RC"
ini="$E2E_HOME/Pondwillow.ini"
[[ -f "$ini" ]] || fail "Ctrl+X: no settings file written"
for kv in Form:Left:300 Form:Top:300 Menu:Index:0 Refrect:Mode:mbottom; do
  IFS=: read -r s k v <<<"$kv"
  [[ $(ini_value "$ini" "$s" "$k") == "$v" ]] || fail "Ctrl+X: $s/$k is '$(ini_value "$ini" "$s" "$k")'"
done
pass "Ctrl+X ends the dock with status 0 and writes its settings"
summary
