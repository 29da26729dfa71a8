#!/usr/bin/env bash
# Runs the unit picture tests under valgrind's memcheck in a build without sanitizers. The pictures are
# decoded and painted inside Qt, where AddressSanitizer does not look; memcheck sees a read of memory
# that holds no pixels there. Any memory error fails the run. Usage: scripts/valgrind-picture-tests.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_VALGRIND_BUILD:-$root/build-valgrind}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=OFF >/dev/null
cmake --build "$build" --target UnitPictureTest -- -j2

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/runtime" && chmod 700 "$scratch/runtime"
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  QT_QPA_PLATFORM=offscreen \
  valgrind --tool=memcheck --error-exitcode=99 --leak-check=no --track-origins=yes --num-callers=30 \
    "$build/tests/UnitPictureTest" "$@"
