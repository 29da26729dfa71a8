#!/usr/bin/env bash
# Renders the unit import dialog, with the name of the unit in the file under the cursor shown in its
# panel, to a PNG file on Qt's offscreen platform. Usage: scripts/render-import-dialog.sh [out.png]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_RENDER_BUILD:-$root/build-render}"
out="$(realpath -m "${1:-$build/import-dialog.png}")"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --target UnitFileDialogTest -- -j2

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/runtime" && chmod 700 "$scratch/runtime"
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  QT_QPA_PLATFORM=offscreen CORVANE_RENDER_PNG="$out" \
  "$build/tests/UnitFileDialogTest" rendersTheImportDialogWithAPreview >/dev/null
echo "$out"
