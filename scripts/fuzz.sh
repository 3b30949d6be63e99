#!/usr/bin/env bash
# Builds the libFuzzer targets (clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz and runs each one for
# FUZZ_SECONDS seconds (30 by default) on a copy of its seed corpus, so the
# committed corpus never grows. Targets may be named as arguments; all run
# otherwise. Exits non-zero when a target finds a crash, a hang, a leak or an
# out-of-memory; its log tail is printed and the input that did it is kept in
# build-fuzz/artifacts/<target>/ (reproduce: build-fuzz/fuzz/fuzz_<target> <input>).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-30}
all_targets=(ini_file ini_values group_file entry_line ico_file pe_icon desktop_entry)
targets=("$@")
((${#targets[@]})) || targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $t "* ]] || { echo "fuzz: no target $t (${all_targets[*]})" >&2; exit 2; }
done

bash "$root/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPONDWILLOW_FUZZ=ON -DPONDWILLOW_TESTS=OFF -DPONDWILLOW_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# Scratch space for the corpus copies and the files the targets write: in
# memory when the machine has /dev/shm.
scratch_base=${TMPDIR:-/tmp}
[[ -d /dev/shm && -w /dev/shm ]] && scratch_base=/dev/shm
work=$(mktemp -d "$scratch_base/pondwillow-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
for t in "${targets[@]}"; do
  exe="$build/fuzz/fuzz_$t"
  dir="$work/$t"
  mkdir -p "$dir/corpus" "$dir/artifacts" "$dir/scratch"
  cp -R "$root/fuzz/corpus/$t/." "$dir/corpus/"
  dict=()
  [[ -f $root/fuzz/dict/$t.dict ]] && dict=(-dict="$root/fuzz/dict/$t.dict")
  rc=0
  PONDWILLOW_FUZZ_SCRATCH="$dir/scratch" \
    ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$exe" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix="$dir/artifacts/" \
    "$dir/corpus" >"$dir/log" 2>&1 || rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
  corpus=$(find "$dir/corpus" -type f | wc -l)
  findings=$(find "$dir/artifacts" -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'leak-*' \
    -o -name 'oom-*' \) | sort)
  if [[ $rc -eq 0 && -z $findings ]]; then
    passed=$((passed + 1))
    echo "fuzz $t: ${execs:-0} executions in ${seconds}s, corpus $corpus, passed"
  else
    failed=$((failed + 1))
    kind=$(for f in $findings; do basename "$f" | cut -d- -f1; done | sort -u | tr '\n' ' ')
    echo "fuzz $t: ${execs:-?} executions, FAILED (${kind:-exit $rc})"
    tail -n 60 "$dir/log" | sed "s/^/  $t | /"
    mkdir -p "$build/artifacts/$t"
    for f in $findings; do
      cp "$f" "$build/artifacts/$t/"
      echo "  $t | kept: $build/artifacts/$t/$(basename "$f")"
    done
  fi
done
echo "$passed passed, $failed failed"
((failed == 0))
