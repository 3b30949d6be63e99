#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, warnings as errors, and runs the whole test
# suite: unit tests, window tests on Qt's offscreen platform and end-to-end
# tests of the real binary under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-test"
bash "$root/scripts/setup.sh"
# Every source file stays formatted by the project's .clang-format: the files
# git tracks, or every source file when this is no git checkout.
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  sources=$(cd "$root" && git ls-files '*.cpp' '*.h')
else
  sources=$(cd "$root" && find src tests bench fuzz tools -name '*.cpp' -o -name '*.h' 2>/dev/null)
fi
[[ -n "$sources" ]] || { echo "format check: no source files found" >&2; exit 1; }
(cd "$root" && xargs clang-format --dry-run --Werror <<<"$sources")
# Win32 headers belong to the Windows halves of the adapters
# (src/*/windows), the Win32 layer (src/win32) and its tests (tests/win32).
win32_headers='windows|windef|winbase|winuser|wingdi|winnt|winreg|shellapi|shlobj|shlwapi|shobjidl|objbase|combaseapi|commctrl|ole2|dwmapi'
stray=$(cd "$root" && xargs grep -liE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($win32_headers)\.h[>\"]" \
  <<<"$sources" | grep -vE '^(src/[a-z]+/windows|src/win32|tests/win32)/' || true)
[[ -z "$stray" ]] || { echo "Win32 headers outside the Windows adapters:" $stray >&2; exit 1; }
# The readers of outside data, fuzzed briefly (30 s a target by default) so
# that a new crash shows up here; long runs: FUZZ_SECONDS=600 scripts/fuzz.sh.
FUZZ_SECONDS=${FUZZ_SECONDS:-30} bash "$root/scripts/fuzz.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DPONDWILLOW_SANITIZE=ON -DPONDWILLOW_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
# Leak checking is off by default: the X and font libraries behind the real
# windows keep caches for the life of the process. The test programs that can
# be leak-checked switch it on themselves (tests/CMakeLists.txt).
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure --timeout 300 "$@"
