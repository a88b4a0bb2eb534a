#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz and runs every one it
# finds for the given seconds (default 300), all at once, each on the seeds the
# tests wrote into build/fuzz-corpus/<Name> (run scripts/test.sh first). A crash,
# a leak or an input that runs too long fails the run; the input that did it is
# kept in build-fuzz/artifacts/<Name>/.
#   scripts/fuzz.sh [seconds]       build, then run
#   scripts/fuzz.sh --build-only    build only
#   scripts/fuzz.sh --run-only [seconds]
# FUZZ_JOBS caps how many run at once (default: one per processor).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
fuzz_build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seeds="${SEED_DIR:-$root/build/fuzz-corpus}"

build=1
run=1
case "${1:-}" in
    --build-only) run=0; shift ;;
    --run-only) build=0; shift ;;
esac
seconds="${1:-300}"

if [ "$build" -eq 1 ]; then
    CC=clang CXX=clang++ BUILD_DIR="$fuzz_build" "$root/scripts/build.sh" \
        -DORV_FUZZ=ON -DORV_TESTS=OFF -DORV_BENCH=OFF
fi
[ "$run" -eq 1 ] || exit 0

# Every target the build made, whoever added it: <Name>Fuzz.
mapfile -t targets < <(find "$fuzz_build" -type f -name '*Fuzz' -perm -u+x | sort)
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz: no targets in $fuzz_build" >&2
    exit 1
fi

# Leaks of the toolkit's own libraries are theirs, not ours.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export QT_QPA_PLATFORM=offscreen
jobs_max="${FUZZ_JOBS:-$(nproc)}"
mkdir -p "$fuzz_build/logs"

# One target: its corpus starts from the tests' seeds and keeps what it finds.
run_one() {
    local target="$1" name
    name="$(basename "$target" Fuzz)"
    local corpus="$fuzz_build/corpus/$name" artifacts="$fuzz_build/artifacts/$name"
    mkdir -p "$corpus" "$artifacts"
    if [ -d "$seeds/$name" ]; then
        cp -n "$seeds/$name"/* "$corpus/" 2>/dev/null || true
    fi
    local rc=0
    "$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2560 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" >"$fuzz_build/logs/$name.log" 2>&1 || rc=$?
    echo "$rc" >"$fuzz_build/logs/$name.rc"
}

for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_max" ]; do
        wait -n || true
    done
    run_one "$target" &
done
wait

failed=0
for target in "${targets[@]}"; do
    name="$(basename "$target" Fuzz)"
    log="$fuzz_build/logs/$name.log"
    if [ "$(cat "$fuzz_build/logs/$name.rc" 2>/dev/null || echo 1)" = 0 ]; then
        runs="$(grep -m1 -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')"
        echo "fuzz: $name: clean for ${seconds}s, $runs runs"
    else
        failed=1
        echo "fuzz: $name FAILED; log: $log" >&2
        tail -n 40 "$log" >&2
    fi
done
exit "$failed"
