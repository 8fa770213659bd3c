#!/usr/bin/env bash
# Sets up and builds Abrevel (tools/setup.sh), then runs every test: the
# suite in build/, the same suite built with AddressSanitizer and UBSan in
# build-asan/, and each fuzz target over its seed corpus plus a fixed number
# of new inputs (tools/fuzz.sh --check).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DABREVEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

bash tools/fuzz.sh --check
