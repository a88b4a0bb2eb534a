#!/usr/bin/env bash
# CPU cost of an MSEQ conversion as a user runs it, against a software
# synthesiser's render of the same MIDI file, on the same machine, in the same
# run. Each benchmark tune is written as a MIDI file; then, in turn, the whole
# program converts it (Model C, with its preview and the debug files it writes
# beside the source) and timidity renders it at 8000 Hz with the freepats
# patches, reverb and chorus off. Prints the median CPU time (user + system)
# of each side over the runs and their ratio (below 1: the conversion costs less).
#   scripts/bench-mseq.sh [runs]     (default 7)
# Installs timidity and freepats from Debian when they are missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
runs="${1:-7}"
"$root/scripts/install-deps.sh" --bench
"$root/scripts/build.sh" >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/OrvPlugins/Polyra/Converter/PolyraBenchTunes" "$work" >/dev/null

python3 - "$runs" "$build/app" "$work" <<'PY'
import os, statistics, subprocess, sys
runs, app, work = int(sys.argv[1]), sys.argv[2], sys.argv[3]
env = dict(os.environ, ORVANEDIR=app, QT_QPA_PLATFORM="offscreen")
tunes = [("long", "3-minute 16-channel tune"), ("dense", "dense 10-minute game tune"),
         ("short-notes", "10-minute tune of short notes")]
def orvane(name):
    return [os.path.join(app, "Orvane"), "/profile=Model C", "/converter=seq", "/destination=out", "/preview",
            name + ".mid"]
def timidity(name):
    return ["timidity", "-c", "/etc/timidity/freepats.cfg", "-EFreverb=0", "-EFchorus=0", "-Ow", "-s", "8000",
            "-o", "timidity.wav", name + ".mid"]
def cpu_seconds(command, cwd):
    process = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    if status != 0:
        sys.exit(f"bench-mseq: {command[0]} failed on {cwd}")
    return usage.ru_utime + usage.ru_stime
for name, _ in tunes:
    os.makedirs(os.path.join(work, name, "out"), exist_ok=True)
times = {(name, side): [] for name, _ in tunes for side in ("orvane", "timidity")}
for _ in range(runs):
    for name, _ in tunes:
        cwd = os.path.join(work, name)
        times[(name, "orvane")].append(cpu_seconds(orvane(name), cwd))
        times[(name, "timidity")].append(cpu_seconds(timidity(name), cwd))
for name, _ in tunes:
    if not os.path.isfile(os.path.join(work, name, "Debug", "Preview.wav")):
        sys.exit(f"bench-mseq: the conversion of {name}.mid wrote no debug files")
print(f"median CPU (user + system) of {runs} runs each, taken in turn")
print(f"{'tune':32s} {'Orvane MSEQ':>12s} {'timidity':>10s} {'ratio':>7s}")
for name, title in tunes:
    ours = statistics.median(times[(name, "orvane")])
    peer = statistics.median(times[(name, "timidity")])
    print(f"{title:32s} {ours:10.2f} s {peer:8.2f} s {ours / peer:7.2f}")
PY
