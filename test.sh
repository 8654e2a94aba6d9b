#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless through CTest,
# then, where clang is installed, each fuzz target for a few seconds (tools/fuzz/run.sh).
# ZK_SANITIZE=1 builds into build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/scripts/deps.sh"
"$here/scripts/build.sh"
build=${ZK_BUILD_DIR:-$here/build}
[ "${ZK_SANITIZE:-0}" = 1 ] && build=${ZK_BUILD_DIR:-$here/build-sanitize}
(
  [ "${ZK_SANITIZE:-0}" = 1 ] && source "$here/scripts/sanitize_env.sh"
  export QT_QPA_PLATFORM=offscreen
  cd "$build"
  # The sanitizers make some window tests several times slower.
  timeout=300
  [ "${ZK_SANITIZE:-0}" = 1 ] && timeout=900
  ctest --output-on-failure --parallel "$(nproc)" --timeout "$timeout"
)
if "$here/tools/fuzz/run.sh" --available; then
  ZK_FUZZ_JOBS=${ZK_FUZZ_JOBS:-2} "$here/tools/fuzz/run.sh" "${ZK_FUZZ_SECONDS:-3}"
else
  echo "Fuzz targets skipped: no clang with its libFuzzer runtime on this machine."
fi
