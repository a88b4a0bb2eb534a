#!/usr/bin/env bash
# Installs the dependencies, builds, and lays out the application folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
app="$root/build/app"
echo "Application folder: $app"
ls -R "$app"
