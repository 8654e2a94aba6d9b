#!/usr/bin/env bash
# Installs what is missing, builds, and starts the catalogue on the demo data.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/scripts/deps.sh"
"$here/scripts/build.sh"
build=${ZK_BUILD_DIR:-$here/build}
prog="$build/catalog/CatalogoZORNAK"
if [ ! -x "$prog" ]; then
  echo "The catalogue program was not built ($prog); see the build output above." >&2
  exit 1
fi
# A program folder with neither a catalogue nor a "Caminho.txt" reads the generated demo
# catalogue, through the program's own path file.
progdir=$(dirname "$prog")
if [ ! -e "$progdir/CatalogoZORNAK.c01" ] && [ ! -e "$progdir/Caminho.txt" ]; then
  if [ ! -e "$build/demo_data/CatalogoZORNAK.c01" ]; then
    echo "The demo data folder $build/demo_data is missing; the build makes it." >&2
    exit 1
  fi
  printf '%s' "$build/demo_data" > "$progdir/Caminho.txt"
fi
# Fixed window positions need X; prefer xcb (also under XWayland), else a virtual display.
if [ -n "${DISPLAY:-}" ]; then
  QT_QPA_PLATFORM=xcb exec "$prog" "$@"
else
  exec xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$prog" "$@"
fi
