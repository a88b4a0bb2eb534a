#!/usr/bin/env bash
# Start-up cost of command-line runs, measured against a bare widget application
# in the same session: CPU time (user + system) of whole processes, the median
# of N runs of each, taken in turn. Then the in-process Init benchmark.
#   scripts/bench-startup.sh [runs]     (default 20)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
runs="${1:-20}"
"$root/scripts/build.sh" >/dev/null
app="$build/app"
bare="$build/Orvane/bench/OrvaneBareApplication"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$root/examples/lantern.rtx" "$work/"
mkdir -p "$work/batch" "$work/out"
for i in $(seq 2000); do cp "$root/examples/lantern.rtx" "$work/batch/t$i.rtx"; done

python3 - "$runs" "$app" "$bare" "$work" <<'PY'
import os, statistics, subprocess, sys
runs, app, bare, work = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
env = dict(os.environ, ORVANEDIR=app, QT_QPA_PLATFORM="offscreen")
orvane = os.path.join(app, "Orvane")
cases = {
    "bare application": [bare],
    "one RTTTL to iMelody": [orvane, "/profile=Model A", "/converter=imy", "/destination=out",
                             "/logfile=run.log", "lantern.rtx"],
    "/help": [orvane, "/help"],
}
def cpu_ms(command, cwd):
    process = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, _, usage = os.wait4(process.pid, 0)
    return (usage.ru_utime + usage.ru_stime) * 1000.0
times = {name: [] for name in cases}
for _ in range(runs):
    for name, command in cases.items():
        times[name].append(cpu_ms(command, work))
base = statistics.median(times["bare application"])
for name in cases:
    median = statistics.median(times[name])
    print(f"{name:24s} {median:8.1f} ms CPU  ({median / base:.2f} x bare)")
batch = [orvane, "/profile=Model A", "/converter=imy", "/destination=../out", "/logfile=../batch.log", "*.rtx"]
samples = [cpu_ms(batch, os.path.join(work, "batch")) for _ in range(3)]
print(f"{'2,000 RTTTL in one run':24s} {statistics.median(samples):8.1f} ms CPU")
PY
"$build/Orvane/bench/OrvaneStartupBench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
