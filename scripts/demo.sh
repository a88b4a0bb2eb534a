#!/usr/bin/env bash
# Installs the dependencies, builds, and converts the bundled example tunes into
# iMelody ring tones (with their preview sounds) for the phone "Model A", and the
# spoken example into a VOX speech clip for "Model C".
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
