#!/usr/bin/env bash
# Installs what is missing, builds Corvane and starts it on the bundled demo game folder.
# The demo run keeps its settings in build/demo-home, never in your own settings.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target Corvane make_demo_folder

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Corvane is built, but there is no display to show it on (DISPLAY and WAYLAND_DISPLAY are not set)." >&2
  echo "Run this command from a desktop session, or under a virtual display: xvfb-run scripts/run.sh" >&2
  exit 1
fi

demo="$build/demo-game"
home="$build/demo-home"
rm -rf "$demo"
"$build/demo/make_demo_folder" "$demo"
mkdir -p "$home/Orlane"
settings="$home/Orlane/Corvane.conf"
if [ ! -f "$settings" ] || ! grep -q "^DS6InstallDir=" "$settings"; then
  printf '[InitData]\nDS6InstallDir=%s/\n' "$demo" > "$settings"
fi
exec env XDG_CONFIG_HOME="$home" "$build/app/Corvane"
