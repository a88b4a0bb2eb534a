#!/usr/bin/env bash
# Configures and builds into a build folder (default: build). Extra arguments go to CMake.
# The configure step is quiet when all is well; its errors and warnings are shown.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
mkdir -p "$build"
log="$build/configure.log"
if ! cmake -S "$root" -B "$build" -G Ninja "$@" >"$log" 2>&1; then
    cat "$log" >&2
    echo "build: configuring $build failed (see above)" >&2
    exit 1
fi
if grep -q "CMake Warning\|CMake Deprecation Warning" "$log"; then
    cat "$log" >&2
fi
cmake --build "$build" -j "$(nproc)"
