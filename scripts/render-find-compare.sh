#!/usr/bin/env bash
# Renders the find window and the compare window, on demo game data, to PNG files on Qt's offscreen
# platform (the same runs are the windows' tests).
#
#   scripts/render-find-compare.sh [output-folder]     (default: build-render/find-compare)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build-render}"
out="$(mkdir -p "${1:-$build/find-compare}" && cd "${1:-$build/find-compare}" && pwd)"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --target FindDlgTest CompareDlgTest -- -j2

# The run never sees the user's settings or home folder.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/runtime" && chmod 700 "$scratch/runtime"
for test in FindDlgTest CompareDlgTest; do
  HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
    QT_QPA_PLATFORM="offscreen:configfile=$root/tests/support/offscreen-large-screen.json" \
    CORVANE_RENDER_DIR="$out" "$build/tests/$test" -silent
done
ls -1 "$out"/*.png
