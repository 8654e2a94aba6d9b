#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless through CTest.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/scripts/deps.sh"
"$here/scripts/build.sh"
build=${ZK_BUILD_DIR:-$here/build}
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
