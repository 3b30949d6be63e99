#!/usr/bin/env bash
# Runs the cross-built Win32 adapter tests under Wine, without a display, in
# a Wine prefix of their own that lives for one test run:
#   wine.sh start PREFIX WINE WINESERVER          make a fresh prefix, keep its server up
#   wine.sh run PREFIX WINE WINESERVER EXE SUITE  run the tests SUITE.* and SUITE/*
#   wine.sh stop PREFIX WINE WINESERVER           end the prefix's server, remove the prefix
set -euo pipefail
mode=$1 prefix=$2 wine=$3 wineserver=$4
shift 4

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko: the tests need neither, and Wine would offer to install them.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# No display: the windows of the tests are never drawn.
unset DISPLAY WAYLAND_DISPLAY

# Runs the program under Wine with its output in LOG. Wine now and then fails
# to start a program at all (it exits at once and the program prints
# nothing); that is tried again once, a second later. A
# program that ran and failed is not run again.
start_program() { # log exe args...
  local log=$1
  shift
  local status=0
  "$wine" "$@" >"$log" 2>&1 </dev/null || status=$?
  if ((status != 0)) && ! grep -q '^\[' "$log"; then
    echo "wine.sh: Wine did not start $1 (status $status): trying once more" >&2
    tr -d '\r' <"$log" >&2
    sleep 1
    status=0
    "$wine" "$@" >"$log" 2>&1 </dev/null || status=$?
  fi
  return "$status"
}

case $mode in
start)
  "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
  mkdir -p "$prefix"
  # Wine's own processes (its server, services, device drivers, the desktop)
  # outlive the program that started them and keep its standard output
  # open: none of them may get the test runner's, or it waits for them.
  "$wine" wineboot.exe --init >/dev/null 2>&1 </dev/null
  # Wine's null display driver: windows exist and take messages, nothing is
  # drawn, and no X server is needed.
  "$wine" reg.exe add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
    >/dev/null 2>&1 </dev/null
  "$wineserver" -w
  # The server then stays up until "stop", so that the test programs start
  # in a fraction of a second; the first one brings up Wine's services.
  "$wineserver" -p >/dev/null 2>&1 </dev/null
  "$wine" cmd.exe /c exit >/dev/null 2>&1 </dev/null
  ;;
run)
  exe=$1 suite=$2
  # Through a file, not a pipe: a Wine process that the tests start (the
  # desktop for their first window) may hold its output open after they end.
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  status=0
  start_program "$log" "$exe" --gtest_color=no "--gtest_filter=$suite.*:$suite/*" || status=$?
  tr -d '\r' <"$log"
  # A suite that no test belongs to any more would pass without running.
  if ! tr -d '\r' <"$log" | grep -Eq '^\[  PASSED  \] [1-9][0-9]* test'; then
    echo "wine.sh: no test of $suite passed" >&2
    exit 1
  fi
  exit "$status"
  ;;
suites)
  # Every test suite of the program must be one of the given ones.
  exe=$1
  shift
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  if ! start_program "$log" "$exe" --gtest_list_tests; then
    tr -d '\r' <"$log" >&2
    echo "wine.sh: the test program could not list its tests" >&2
    exit 1
  fi
  # Suite lines end in "." (SUITE. or PREFIX/SUITE.); test lines are indented.
  listed=$(tr -d '\r' <"$log" | grep -E '^[A-Za-z_][A-Za-z0-9_/]*\.$' | sed -E 's/\.$//; s#/.*##' |
    sort -u)
  [[ -n $listed ]] || { echo "wine.sh: the test program lists no tests" >&2; exit 1; }
  missing=0
  for s in $listed; do
    if ! printf '%s\n' "$@" | grep -qx "$s"; then
      echo "wine.sh: test suite $s is not registered in tests/win32/tests.cmake" >&2
      missing=1
    fi
  done
  exit $missing
  ;;
stop)
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$prefix"
  ;;
*)
  echo "wine.sh: unknown mode $mode" >&2
  exit 2
  ;;
esac
