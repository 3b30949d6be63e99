#!/usr/bin/env bash
# The real dock at each of the four screen edges with a group of three files:
# the window's geometry as the X server has it. Screenshots are left in
# $E2E_SHOTS when that is set.
source "$(dirname "$0")/lib.sh"
start_x
prepare_home "$1"
shots=${E2E_SHOTS:-}

for f in notes.txt script.sh picture.png; do echo x >"$E2E_HOME/$f"; done
printf '%s,,Notes\r\n%s,-v,Script\r\n%s,,Picture\r\n' \
  "$E2E_HOME/notes.txt" "$E2E_HOME/script.sh" "$E2E_HOME/picture.png" >"$E2E_HOME/PondwillowPath0.txt"

# edge vertical left top -> expected x y w h
check_edge() {
  local edge=$1 vertical=$2 left=$3 top=$4 extra=$5 expected=$6
  printf '[Form]\r\nMode=%s\r\nLeft=%s\r\nTop=%s\r\n[Refrect]\r\nMode=%s\r\n%b' \
    "$vertical" "$left" "$top" "$edge" "$extra" >"$E2E_HOME/Pondwillow.ini"
  start_dock
  local got
  got=$(geometry "$WID")
  [[ "$got" == "$expected" ]] || fail "$edge: geometry $got, expected $expected"
  [[ -n "$shots" ]] && shot "$shots/$edge${7:-}.png"
  stop_dock
  pass "$edge: $got"
}

mkdir -p "${shots:-$E2E_DIR}"
check_edge mbottom 0 300 300 "" "300 300 196 126"
check_edge mtop 0 300 300 "" "300 300 196 126"
check_edge mleft 1 300 300 "" "300 300 126 196"
check_edge mright 1 300 300 "" "300 300 126 196"
# Kept on the screen at its own edge: a bottom dock reaching below the screen
# moves up; a right dock beyond the right border moves left; a left dock left
# of the screen moves to 0; a top dock above it moves to 0.
check_edge mbottom 0 300 1000 "" "300 954 196 126" -kept
check_edge mright 1 1850 300 "" "1794 300 126 196" -kept
check_edge mleft 1 -40 300 "" "0 300 126 196" -kept
check_edge mtop 0 300 -70 "" "300 0 196 126" -kept
# Shadows instead of reflections, and the background modes, for the eye.
check_edge mbottom 0 300 300 "[Icon]\r\nRefrection=0\r\n" "300 300 196 126" -shadow
check_edge mleft 1 300 300 "[Back]\r\nOpa=1\r\nGradient=1\r\nDirection=2\r\nColor0=-65536\r\nColor1=-16776961\r\n" \
  "300 300 126 196" -gradient
convert -size 120x60 gradient:gold-seagreen "$E2E_HOME/back.png"
check_edge mtop 0 300 300 "[Back]\r\nOpa=0.9\r\nImage=1\r\nImageFile=$E2E_HOME/back.png\r\n" \
  "300 300 196 126" -picture
summary
