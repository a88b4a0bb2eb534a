#!/usr/bin/env bash
# Installs the dependencies, builds, and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="${BUILD_DIR:-$root/build}" "$root/scripts/build.sh" "$@"
export QT_QPA_PLATFORM=offscreen
# Leaks of the toolkit's platform plug-ins and font configuration are theirs, not ours.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
ctest --test-dir "${BUILD_DIR:-$root/build}" --output-on-failure -j "$(nproc)"
