#!/usr/bin/env bash
# Installs what is missing, builds Corvane with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test on Qt's offscreen platform; then builds Corvane for Windows (MinGW-w64, with Qt
# for Windows when it is there, else the Qt-free core), runs its tests under Wine, and tests the
# Windows zip in a fresh Wine prefix on a virtual display.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-tests"
started=$SECONDS
times=()
took() { times+=("$1 $(( (SECONDS - started) / 60 ))m$(( (SECONDS - started) % 60 ))s"); started=$SECONDS; }

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON >/dev/null
cmake --build "$build"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Tests never see the user's settings or home folder.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd "$build"
took "Linux build:"
ctest --output-on-failure -j2
took "Linux tests:"

# Windows programs under Wine, in a prefix of their own, with code page 932 and no display.
# shellcheck source=windows-common.sh
source "$root/scripts/windows-common.sh"
unset DISPLAY WAYLAND_DISPLAY
echo "Preparing Wine for the Windows tests"
corvane_wine_prefix "$scratch/wine"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
took "Wine prefix:"
if corvane_find_qt_windows; then
  # The whole project, its tests run on Qt's offscreen platform.
  build_win="$root/build-win"
  corvane_build_windows "$build_win"
  took "Windows build:"
  (cd "$build_win" && ctest --output-on-failure -j2)
  took "Windows tests:"
  wineserver -k >/dev/null 2>&1 || true
  zip_file="$(CORVANE_WINDOWS_BUILD="$build_win" "$root/scripts/package-windows.sh" | tail -n 1)"
  CORVANE_MAKE_DEMO="$build/demo/make_demo_folder" \
    "$root/scripts/test-windows-zip.sh" "$zip_file" "$build_win/packages/corvane-windows.png"
  took "Windows zip:"
else
  echo "No Qt for Windows (neither ../shared/qt6-mingw/ nor CORVANE_QT_WINDOWS): only the Qt-free core is built and tested for Windows"
  build_win="$root/build-win-core"
  cmake -S "$root" -B "$build_win" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_CORE_ONLY=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-w64.cmake" >/dev/null
  cmake --build "$build_win"
  (cd "$build_win" && ctest --output-on-failure -j2)
  took "Windows core:"
fi
echo "Times: ${times[*]}"
