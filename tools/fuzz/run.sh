#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each for a while:
#   tools/fuzz/run.sh [seconds] [target...]      (default: 5 seconds, every target)
#   tools/fuzz/run.sh --available                 (quiet; succeeds when clang can build them)
# ZK_FUZZ_JOBS targets run at once (default 1). Each starts from its seed corpus in
# tools/fuzz/corpus/<target>/, which stays as it is; what it learns goes to
# build-fuzz/corpus/<target>/, a crashing input to build-fuzz/crashes/<target>/, its output
# to build-fuzz/logs/<target>.log. Ends with an error when a target found a fault.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../.." && pwd)
build=${ZK_FUZZ_BUILD_DIR:-$top/build-fuzz}

cxx=$(command -v clang++ || command -v clang++-14 || true)
available() {
  [ -n "$cxx" ] || return 1
  local rt
  rt=$("$cxx" --print-runtime-dir 2>/dev/null) || return 1
  [ -e "$rt/libclang_rt.fuzzer-x86_64.a" ] || [ -e "$rt/libclang_rt.fuzzer.a" ]
}
if [ "${1:-}" = --available ]; then available; exit; fi
if ! available; then
  echo "tools/fuzz/run.sh: clang with its libFuzzer runtime is needed (clang, libclang-rt-dev)." >&2
  exit 2
fi

seconds=${1:-5}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$here"/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_FUZZ=ON \
  -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" --parallel "${ZK_JOBS:-$(nproc)}" --target "${targets[@]}" >/dev/null

# Leaks are faults too; undefined behaviour stops the run where it happens.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen

run_one() {
  local t=$1 log="$build/logs/$1.log" crashes="$build/crashes/$1/" work="$build/corpus/$1"
  mkdir -p "$work" "$crashes" "$build/logs"
  if "$build/tools/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$crashes" "$work" "$here/corpus/$t" >"$log" 2>&1; then
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$t: clean, ${runs:-?} runs in ${seconds}s"
  else
    echo "$t: FAULT FOUND, see $log and $crashes" >&2
    return 1
  fi
}

jobs=${ZK_FUZZ_JOBS:-1}
failed=0
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_one "$t" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
