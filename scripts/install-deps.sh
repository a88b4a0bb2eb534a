#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the examples need.
# Safe to run again: it only calls apt-get when something is missing.
#   scripts/install-deps.sh [--bench]
# --bench adds the peer that scripts/bench-mseq.sh measures the MSEQ conversion
# against (a software synthesiser and its patches); nothing else needs it.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libqt6xml6 qt6-multimedia-dev
    libgif-dev libopencore-amrnb-dev libfontconfig-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    # The window's smoke test: a display server, its keys and a screenshot.
    xvfb xauth xdotool x11-apps imagemagick
)
if [ "${1:-}" = "--bench" ]; then
    PACKAGES+=(timidity freepats)
fi

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
