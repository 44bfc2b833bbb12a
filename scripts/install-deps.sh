#!/usr/bin/env bash
# Installs every Debian package Festiloom needs to build, run and test.
# Works as root or through sudo. Safe to run again: apt skips what is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-image-formats-plugins
  libgl-dev
  libplist-dev libplist-utils
  libpugixml-dev
  libminizip-dev zlib1g-dev
  fonts-liberation fonts-dejavu-core
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  libzxing-dev zint libzint-dev
  python3 python3-openpyxl python3-aiosmtpd python3-icu
  python3-trustme python3-fonttools
  zip unzip
  xvfb xauth
  poppler-utils
  python3-pil libdeflate-dev
  cups-daemon cups-client printer-driver-cups-pdf libcups2-dev
  # ThreadSanitizer runtime (scripts/build.sh tsan)
  libtsan2
  # series import tests: RTF files written by pandoc
  pandoc
  # install tree test: the freedesktop validators (desktop entry, AppStream, file types), the
  # window list of the virtual display (xwininfo, xprop) and a window manager that frames windows
  desktop-file-utils appstream shared-mime-info libglib2.0-bin x11-utils openbox
  # fuzz targets (scripts/build.sh fuzz): clang with libFuzzer and its sanitizer runtimes
  clang libclang-rt-14-dev
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
