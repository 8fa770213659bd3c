#!/usr/bin/env bash
# Installs what Abrevel needs to build, run and be tested on Debian 12 (only
# the packages that are missing, with sudo when not root), then builds it in
# build/. The program and its application folder end up in build/app/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ make pkg-config                            # toolchain
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev          # Qt 6: widgets, printing, sound, SVG
  qt6-translations-l10n                                # the print dialog in French
  qt6-qpa-plugins libgl-dev                            # window system plugins (xcb, offscreen)
  gstreamer1.0-plugins-base                            # plays the click sound
  libgtest-dev                                         # unit tests
  libbenchmark-dev                                     # bench/, so that it keeps building
  libgif-dev                                           # writes the GIF pictures (tools/)
  fonts-liberation2 fonts-dejavu-core                  # Arial's metrics, the Symbol glyphs
  poppler-utils                                        # pdfinfo, pdftoppm: printed pages
  libqpdf-dev                                          # PDF outline, author and language
  xvfb xauth x11-utils imagemagick                     # a display for window tests, screenshots
  xdotool                                              # drives the real program on Xvfb
  dbus-bin at-spi2-core python3-pyatspi                # reads it as a screen reader (AT-SPI)
  clang libfuzzer-14-dev                               # the fuzz targets (fuzz/)
  hunspell hunspell-fr sox                             # French spelling, the click sound
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
