#!/usr/bin/env bash
# The main job on the simulated camera: build mmgr-host, the module and the
# simulated SDK, list the cameras, snap one image and record a short
# sequence of the colour model, all under <root>/out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
out="$root/out"

"$root/scripts/setup.sh" "$build"
cmake --build "$build" --target mmgr-host mmgr_dal_Quorvex Quorvex -j "$(nproc)"

host="$build/bin/mmgr-host"
mkdir -p "$out"

echo "== cameras"
"$host" devices

echo "== snap: monochrome camera, 2x2 binning (averaged), 20 ms exposure"
"$host" snap --set BinningMethod=Average --set Binning=2 --set Exposure=20 --out "$out/snap.tiff"

echo "== sequence: 20 frames of the colour camera"
"$host" sequence --device "Quorvex C8 ISP" --count 20 --out "$out/sequence.tiff"

echo
echo "files:"
echo "  $out/snap.tiff"
echo "  $out/sequence.tiff (20 pages)"
