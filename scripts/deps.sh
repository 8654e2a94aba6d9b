#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the program need and the
# machine lacks. Sourced by run.sh and test.sh; safe to run again.
set -euo pipefail

ZK_PACKAGES=(
  g++ make cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  libsqlcipher-dev libcurl4-openssl-dev libzip-dev libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libgif-dev
  fonts-liberation2 fonts-dejavu-core qt6-translations-l10n
  xdg-utils poppler-utils xvfb xauth openbox libxcb1-dev zip unzip
  desktop-file-utils dpkg-dev
)

zk_missing=()
for p in "${ZK_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    zk_missing+=("$p")
  fi
done

if [ ${#zk_missing[@]} -gt 0 ]; then
  echo "Installing: ${zk_missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${zk_missing[@]}"
fi
