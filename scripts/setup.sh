#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Orlik builds and tests with, when missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  zlib1g-dev libdeflate-dev libminizip-dev libpng-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
  fonts-dejavu-core
  time
  xdg-utils shared-mime-info libglib2.0-bin
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
