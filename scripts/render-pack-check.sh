#!/usr/bin/env bash
# Renders the pack confirmation and the check window, on demo game data, to PNG files on Qt's
# offscreen platform (the same run is the windows' test).
#
#   scripts/render-pack-check.sh [output-folder]     (default: build-render/pack-check)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build-render}"
out="$(mkdir -p "${1:-$build/pack-check}" && cd "${1:-$build/pack-check}" && pwd)"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --target PackCheckTest -- -j2

# The run never sees the user's settings or home folder.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/runtime" && chmod 700 "$scratch/runtime"
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  QT_QPA_PLATFORM=offscreen CORVANE_RENDER_DIR="$out" "$build/tests/PackCheckTest" -silent renderWindows
ls -1 "$out"/*.png
