#!/usr/bin/env bash
# Sets up and builds Abrevel (tools/setup.sh), then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
