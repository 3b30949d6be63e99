#!/usr/bin/env bash
# CTest's entry to the Windows program's suite: builds Pondwillow.exe and runs
# it under Wine (scripts/windows.sh) when a Qt for Windows is cached on this
# machine. Building that Qt takes about 45 minutes on two cores, more than a
# test run may take, so without it the test is skipped, saying so.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if ! bash "$root/scripts/windows-qt.sh" --cached >/dev/null; then
  echo "win32_program_suite skipped: no Qt for Windows is cached on this machine;" \
    "'bash scripts/windows.sh' builds it (about 45 minutes on 2 cores) and runs the suite"
  exit 77
fi
exec bash "$root/scripts/windows.sh"
