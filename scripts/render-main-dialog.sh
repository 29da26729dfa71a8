#!/usr/bin/env bash
# Builds Corvane and renders the main dialog, loaded with the demo game folder, to a PNG file on Qt's
# offscreen platform, with IPA P Gothic standing in for the dialog font. Needs no display.
#   scripts/render-main-dialog.sh [output.png] [unit]   (default: build-render/main-dialog.png, unit 1)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_RENDER_BUILD:-$root/build-render}"
out="$(realpath -m "${1:-$build/main-dialog.png}")"

"$root/scripts/install-deps.sh"
if ! fc-list : family | grep "IPAPGothic" >/dev/null; then
  echo "IPA P Gothic is missing (package fonts-ipafont-gothic): Japanese text would not look as intended." >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target MainDialogLayoutTest

# The rendering never touches the user's settings or home folder.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/runtime" && chmod 700 "$scratch/runtime"
env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  QT_QPA_PLATFORM=offscreen CORVANE_RENDER_PNG="$out" CORVANE_RENDER_UNIT="${2:-1}" \
  "$build/tests/MainDialogLayoutTest" renderWhenAsked >/dev/null
echo "$out"
