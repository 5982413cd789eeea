#!/usr/bin/env bash
# Sets everything up, builds and starts Tavrin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: start Tavrin on a virtual one with: xvfb-run -a build/tavrin" >&2
    exit 1
fi
exec build/tavrin
