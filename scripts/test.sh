#!/usr/bin/env bash
# Installs what is missing, builds Corvane with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test on Qt's offscreen platform; then builds the Qt-free core for Windows (MinGW-w64)
# and runs its tests under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-tests"

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
ctest --output-on-failure -j2

# The Qt-free core as Windows programs, run under Wine in a prefix of its own, with code page 932.
build_win="$root/build-win"
cmake -S "$root" -B "$build_win" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-w64.cmake" >/dev/null
cmake --build "$build_win"
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
export LC_ALL=ja_JP.UTF-8
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
echo "Preparing Wine for the Windows tests"
# Wine's server and its helper processes start here, once, and stay until the end: helpers started by
# a test would hold on to its output and keep ctest waiting.
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1
wineboot --init >/dev/null 2>&1
cd "$build_win"
ctest --output-on-failure -j2
