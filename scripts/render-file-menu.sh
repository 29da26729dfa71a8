#!/usr/bin/env bash
# Builds Corvane and renders the main dialog's File menu as it drops down (demo game folder loaded) to
# a PNG file on Qt's offscreen platform, with IPA P Gothic standing in for the dialog font.
#   scripts/render-file-menu.sh [output.png]   (default: build-render/file-menu.png)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_RENDER_BUILD:-$root/build-render}"
out="$(realpath -m "${1:-$build/file-menu.png}")"

"$root/scripts/install-deps.sh"
if ! fc-list : family | grep "IPAPGothic" >/dev/null; then
  echo "IPA P Gothic is missing (package fonts-ipafont-gothic): Japanese text would not look as intended." >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target CsvCommandsTest

# The rendering never touches the user's settings or home folder.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/runtime" && chmod 700 "$scratch/runtime"
env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  QT_QPA_PLATFORM=offscreen CORVANE_RENDER_PNG="$out" \
  "$build/tests/CsvCommandsTest" renderFileMenuWhenAsked >/dev/null
echo "$out"
