#!/usr/bin/env bash
# Installs, non-interactively, whatever the build and the tests need and is
# not on the machine yet. Safe to run again: it does nothing when all is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev qt6-image-formats-plugins
  libgl1-mesa-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-dejavu-core fonts-freefont-ttf fonts-noto-core
  clang clang-format clang-tidy libclang-rt-14-dev
  ccache
  stockfish
  poppler-utils
  texlive-games texlive-pstricks texlive-lang-cyrillic ghostscript
  desktop-file-utils appstream
  dpkg-dev file
  lintian devscripts man-db
  xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
