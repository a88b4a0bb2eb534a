#!/usr/bin/env bash
# Installs the dependencies, builds, and converts the bundled example tunes into
# iMelody ring tones (with their preview sounds) for the phone "Model A", the
# spoken example into a VOX speech clip for "Model C", and a copy of the evening
# tune into an MSEQ sequence for "Model C", all into build/demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

app="$root/build/app"
out="$root/build/demo"
rm -rf "$out"
mkdir -p "$out"
cd "$out"
ORVANEDIR="$app" "$app/Orvane" "/profile=Model A" /converter=imy /destination="$out" /preview \
    /logfile=demo.log "$root/examples/morning.mid" "$root/examples/lantern.rtx" "$root/examples/harbour.rtx"
# The spoken example becomes an AMR 12.2 speech clip and its decoded preview for "Model C".
ORVANEDIR="$app" "$app/Orvane" "/profile=Model C" /converter=vox /destination="$out" /preview \
    /logfile=demo-vox.log "$root/examples/hello.wav"
echo "Converted into $out:"
ls -l "$out"
for f in "$out"/*.IMY; do
    echo "--- $(basename "$f")"
    tr -d '\r' < "$f"
    echo
done

# The evening tune becomes an MSEQ polyphonic sequence for "Model C", with its
# media script and preview. It is converted from a copy, so that the Debug
# folder the converter writes beside its source stays out of examples/.
evening="$out/evening"
mkdir -p "$evening/out"
cp "$root/examples/evening/evening.mid" "$root/examples/evening/.emi" "$evening/"
(cd "$evening" && ORVANEDIR="$app" "$app/Orvane" "/profile=Model C" /converter=seq /destination=out /preview \
    /logfile=evening.log evening.mid)
echo "MSEQ sequence and preview in $evening/out (debug files in $evening/Debug):"
ls -l "$evening/out"
