#!/usr/bin/env bash
# Builds Tavrin into build/ and makes its Debian package there; prints the package's path.
# Install it with: apt install ./build/tavrin_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
(cd build && cpack -G DEB >/dev/null)
ls "$PWD"/build/tavrin_*.deb
