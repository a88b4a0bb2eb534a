#!/usr/bin/env bash
# Remakes examples/hello.wav, the bundled speech clip source, from the text in
# examples/hello.txt with espeak-ng (installed here when missing). Not part of
# the build: the WAV file is kept in the repository.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v espeak-ng >/dev/null; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends espeak-ng
fi
cd "$root/examples"
# The first line of hello.txt is the spoken text; the rest describes the file.
head -n 1 hello.txt > "${TMPDIR:-/tmp}/hello-line.txt"
espeak-ng -v en -s 160 -w hello.wav -f "${TMPDIR:-/tmp}/hello-line.txt"
rm -f "${TMPDIR:-/tmp}/hello-line.txt"
ls -l hello.wav
