#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Corvane needs to build, run and test, when they are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev   # Qt 6 Widgets, Qt Test
  libfontconfig-dev                           # the font configuration loaded early at start-up
  qt6-translations-l10n                       # Qt's own Japanese translations
  fonts-ipafont-gothic                        # IPA P Gothic, the dialog font's stand-in
  desktop-file-utils appstream dpkg-dev       # checks of the desktop entry, the metainfo and the .deb
  xvfb xauth xdotool                          # the installed program started on a virtual display
  libgtest-dev googletest libbenchmark-dev
  valgrind                                    # scripts/valgrind-picture-tests.sh
  mingw-w64 g++-mingw-w64-x86-64-posix wine wine64   # the Qt-free core built for Windows, tested under Wine
  locales                                     # ja_JP.UTF-8, so that Wine runs with code page 932
  zip unzip x11-apps                          # the Windows zip and its test; screenshots of the Wine run (xwd)
)

# Wine takes its code page from the locale; the Windows tests run it with a Japanese one.
ensure_japanese_locale() {
  if locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
    return
  fi
  echo "Generating the ja_JP.UTF-8 locale"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null; then
    $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  else
    $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
}

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  ensure_japanese_locale
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
ensure_japanese_locale
