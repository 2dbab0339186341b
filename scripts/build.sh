#!/usr/bin/env bash
# Configures and builds Piksor in build/ (warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIKSOR_WERROR=ON
cmake --build build
