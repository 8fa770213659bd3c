#!/usr/bin/env bash
# Regenerates the application folder's pictures and click sound:
#   - builds tools/makepictures.cpp,
#   - draws every assets/src/*.svg into assets/ (BMP, GIF or PNG, see the
#     table at the top of makepictures.cpp),
#   - builds tools/makewavelengthpictures.cpp and computes the spectra of chapter 14
#     from tools/wavelengths.h,
#   - synthesises assets/clac.wav with sox.
#
# Usage: tools/makepictures.sh [BUILD_DIR]    (default: build-pictures)
# Needs: cmake, a C++20 compiler, Qt 6 (Gui, Svg), giflib, sox.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-pictures}
jobs=2
mkdir -p "$build"
log=$build/makepictures-build.log

# The tool is a target of the project. Should the project as a whole not
# configure (a dependency of the viewer missing, say), the tool is built on
# its own with the same compiler settings.
if cmake -S "$root" -B "$build" >"$log" 2>&1 &&
   cmake --build "$build" --target makepictures makewavelengthpictures -j"$jobs" >>"$log" 2>&1; then
  tool=$build/makepictures
  spectra=$build/makewavelengthpictures
else
  echo "the project did not build (see $log); building the tool alone" >&2
  alone=$build/makepictures-alone
  mkdir -p "$alone"
  cat >"$alone/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(makepictures LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
find_package(Qt6 6.4 REQUIRED COMPONENTS Gui Svg)
add_compile_options(-Wall -Wextra -Wpedantic -Werror)
add_compile_definitions(QT_DISABLE_DEPRECATED_UP_TO=0x060400 QT_NO_KEYWORDS)
find_library(GIF_LIBRARY gif REQUIRED)
find_path(GIF_INCLUDE_DIR gif_lib.h REQUIRED)
qt_add_executable(makepictures "$root/tools/makepictures.cpp")
target_include_directories(makepictures PRIVATE \${GIF_INCLUDE_DIR} "$root")
target_link_libraries(makepictures PRIVATE Qt6::Gui Qt6::Svg \${GIF_LIBRARY})
qt_add_executable(makewavelengthpictures "$root/tools/makewavelengthpictures.cpp")
target_include_directories(makewavelengthpictures PRIVATE "$root")
target_link_libraries(makewavelengthpictures PRIVATE Qt6::Gui)
EOF
  cmake -S "$alone" -B "$alone/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$alone/build" -j"$jobs" >/dev/null
  tool=$alone/build/makepictures
  spectra=$alone/build/makewavelengthpictures
fi

QT_QPA_PLATFORM=offscreen "$tool" "$root/assets/src" "$root/assets"
"$spectra" "$root/assets"

# The click: 60 ms of white noise, band-limited to 1.2-5 kHz, cut off by a
# logarithmic fade so that only a sharp tick of about 15 ms is heard;
# 44.1 kHz, mono, 16-bit PCM. -R seeds the noise generator with a fixed
# value and -D leaves out dither, so every run writes the same bytes.
sox -R -D -n -r 44100 -c 1 -b 16 "$root/assets/clac.wav" \
  synth 0.06 whitenoise gain -8 highpass 1200 lowpass 5000 \
  fade l 0.001 0.06 0.058 norm -3
echo "clac.wav       $(soxi -D "$root/assets/clac.wav") s"
