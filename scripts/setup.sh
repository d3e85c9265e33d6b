#!/usr/bin/env bash
# Installs, with apt-get, every Debian 12 package that building, running or
# testing the program needs and that is missing here.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev
  libgtest-dev googletest
  libcurl4-openssl-dev curl openssl ca-certificates
  zlib1g-dev
  fonts-liberation2 fonts-dejavu-core
  libxml2-utils
  python3-dbfread python3-pyftpdlib python3-openpyxl
  libdbd-xbase-perl pgdbf
  binutils
  xvfb xauth poppler-utils
  libreoffice-calc-nogui libreoffice-core-nogui libreoffice-dev ure uno-libs-private
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
