#!/usr/bin/env bash
# Renders the weapon picker, the three tool windows, the clone dialog and a unit picture, filled
# with the demo game data, to PNG files on Qt's offscreen platform. The same run checks that every
# text fits its control and that no controls overlap.
#
#   scripts/render-tool-windows.sh [output-folder]     (default: build-render/tool-windows)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build-render}"
out="$(mkdir -p "${1:-$build/tool-windows}" && cd "${1:-$build/tool-windows}" && pwd)"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --target RenderToolWindowsTest -- -j2

# The run never sees the user's settings or home folder.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/runtime" && chmod 700 "$scratch/runtime"
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  QT_QPA_PLATFORM=offscreen CORVANE_RENDER_DIR="$out" "$build/tests/RenderToolWindowsTest" -silent
ls -1 "$out"/*.png
