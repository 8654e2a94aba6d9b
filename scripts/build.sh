#!/usr/bin/env bash
# Configures and builds the whole tree into build/ (or $ZK_BUILD_DIR); with ZK_SANITIZE=1,
# with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sanitize=OFF
default_build=$here/build
if [ "${ZK_SANITIZE:-0}" = 1 ]; then
  sanitize=ON
  default_build=$here/build-sanitize
  # The build runs its own generators (pictures, demo data), so they run sanitized too.
  source "$here/scripts/sanitize_env.sh"
fi
build=${ZK_BUILD_DIR:-$default_build}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=${ZK_BUILD_TYPE:-RelWithDebInfo} \
  -DZK_SANITIZE=$sanitize >/dev/null
cmake --build "$build" --parallel "${ZK_JOBS:-$(nproc)}"
