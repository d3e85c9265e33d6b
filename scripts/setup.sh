#!/usr/bin/env bash
# Installs, with apt-get, every Debian 12 package that building, running or
# testing the program needs and that is missing here.
set -euo pipefail

packages=(
  # build (Qt's cmake files look for the GL and Vulkan headers)
  build-essential cmake ninja-build
  qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev
  libgtest-dev
  # program: the e-invoice and receipt calls, the call stack's source lines
  curl ca-certificates binutils
  # the update check: CRC-32 from zlib
  zlib1g-dev
  fonts-liberation2 fonts-dejavu-core
  # workbooks: the office suite and its UNO SDK for the helper program
  libreoffice-calc-nogui libreoffice-core-nogui libreoffice-dev ure uno-libs-private
  # tests: the peer's certificates, schema checks, independent table readers,
  # workbook fixtures, PDF text, the FTP peer
  openssl libxml2-utils
  python3-dbfread libdbd-xbase-perl pgdbf
  python3-openpyxl poppler-utils python3-pyftpdlib
  # the checking build: clang's sanitizers and libFuzzer
  clang libclang-rt-14-dev
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
