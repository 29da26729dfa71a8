#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Corvane needs to build, run and test, when they are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev   # Qt 6 Widgets, Qt Test
  qt6-translations-l10n                       # Qt's own Japanese translations
  fonts-ipafont-gothic                        # IPA P Gothic, the dialog font's stand-in
  desktop-file-utils appstream dpkg-dev       # checks of the desktop entry, the metainfo and the .deb
  xvfb xauth xdotool                          # the installed program started on a virtual display
  libgtest-dev googletest libbenchmark-dev
  valgrind                                    # scripts/valgrind-picture-tests.sh
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
