#!/usr/bin/env bash
# Installs on Debian 12 only what is missing: what building and testing Piksor
# needs, or with --package what building and checking its packages needs.
set -euo pipefail
build=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libpng-dev)
if [ "${1:-}" = "--package" ]; then
  packages=("${build[@]}" dpkg-dev file lintian appstream desktop-file-utils)
else
  packages=("${build[@]}" fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n
            desktop-file-utils appstream qt6-wayland weston)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
