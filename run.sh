#!/usr/bin/env bash
# Installs what is missing, builds, and starts the catalogue on the demo data.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/scripts/deps.sh"
"$here/scripts/build.sh"
build=${ZK_BUILD_DIR:-$here/build}
prog="$build/catalog/CatalogoZORNAK"
if [ ! -x "$prog" ]; then
  echo "The catalogue program is not built yet in this version; the build and the tests are (./test.sh)." >&2
  exit 1
fi
# Fixed window positions need X; prefer xcb (also under XWayland), else a virtual display.
if [ -n "${DISPLAY:-}" ]; then
  QT_QPA_PLATFORM=xcb exec "$prog" "$@"
else
  exec xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$prog" "$@"
fi
