#!/usr/bin/env bash
# The main job on the simulated camera: build, list the cameras.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" "$root/build"
cmake --build "$root/build" -j "$(nproc)"
echo "built $root/build/adapters"
