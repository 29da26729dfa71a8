#!/usr/bin/env bash
# Builds Corvane for release and packs it with CPack: a .deb for Debian 12 and a .tar.gz of the
# install tree. Usage: scripts/package.sh [output-folder]   (default: build-package/packages)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_PACKAGE_BUILD:-$root/build-package}"
out="$(realpath -m "${1:-$build/packages}")"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
mkdir -p "$out"
(cd "$build" && cpack -G "DEB;TGZ" -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls -1 "$out"/corvane*.deb "$out"/corvane*.tar.gz
