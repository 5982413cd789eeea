#!/usr/bin/env bash
# Sets everything up, builds and runs every test (logic, views offscreen, end-to-end under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
ctest --output-on-failure --timeout 300 -j 2
