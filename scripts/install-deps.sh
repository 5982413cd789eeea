#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Tavrin.
# With --fuzz, also clang and libFuzzer for scripts/fuzz.sh.
set -euo pipefail
packages=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libglib2.0-dev libxcb1-dev libxcb-ewmh-dev libicu-dev
    libacl1-dev libattr1-dev
    # run
    qt6-qpa-plugins adwaita-icon-theme shared-mime-info xdg-utils dbus fonts-ipafont-gothic
    qt6-translations-l10n
    # tests
    googletest libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils openbox liblnk-utils xclip
    # the Debian package (scripts/package.sh: CPack runs file and dpkg-shlibdeps) and its test
    dpkg-dev file desktop-file-utils
    # the slow FUSE mirror that stands in for a hung network share
    libfuse3-dev fuse3
    # the kept office viewers: the office with its windows (libreoffice-core, not the
    # -nogui build, which crashes when a spreadsheet window is shown) and its UNO SDK
    libreoffice-core libreoffice-writer libreoffice-calc libreoffice-dev
    # tests of the kept browser viewer; the program runs without it
    chromium
)
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
