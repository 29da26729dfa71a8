#!/usr/bin/env bash
# Builds Corvane for 64-bit Windows (MinGW-w64 and Qt for Windows, see scripts/windows-common.sh) and
# writes the zip a player downloads: Corvane.exe, corvane-cli.exe, the Qt and MinGW runtime DLLs and
# plugins they load, Qt's Japanese translations, README.txt and the licence notices. Prints the zip's
# path as its last line.
#   scripts/package-windows.sh [output-folder]   (default: build-win/packages)
# CORVANE_WINDOWS_BUILD names the build folder (default build-win); CORVANE_WINDOWS_PREBUILT=1 takes
# its programs as they are, when the caller has just built them.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_WINDOWS_BUILD:-$root/build-win}"
out="$(realpath -m "${1:-$build/packages}")"
# shellcheck source=windows-common.sh
source "$root/scripts/windows-common.sh"

if ! corvane_find_qt_windows; then
  echo "No Qt for Windows: put the qt6-mingw SDK (or its archive) in ../shared/qt6-mingw/ or name it in CORVANE_QT_WINDOWS" >&2
  exit 1
fi
# The build draws icon 128 under Wine; a prefix of its own keeps the user's untouched.
if [ -z "${WINEPREFIX:-}" ]; then
  corvane_wine_prefix "$build/wine"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
fi
[ -n "${CORVANE_WINDOWS_PREBUILT:-}" ] || corvane_build_windows "$build" Corvane corvane-cli corvane_windows_runtime >/dev/null
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
bin="$build/bin"

name="corvane-$version-win64"
stage="$build/package-stage"
rm -rf "$stage" && mkdir -p "$stage/$name/platforms" "$stage/$name/styles" "$stage/$name/translations" \
  "$stage/$name/licenses"
cp "$bin/Corvane.exe" "$bin/corvane-cli.exe" "$bin/Qt6Core.dll" "$bin/Qt6Gui.dll" "$bin/Qt6Widgets.dll" \
   "$bin/libstdc++-6.dll" "$bin/libgcc_s_seh-1.dll" "$bin/libwinpthread-1.dll" "$stage/$name/"
cp "$bin/platforms/qwindows.dll" "$stage/$name/platforms/"
cp "$bin/styles/qwindowsvistastyle.dll" "$stage/$name/styles/"
cp "$bin/translations/qtbase_ja.qm" "$stage/$name/translations/"
x86_64-w64-mingw32-strip --strip-unneeded "$stage/$name"/*.exe "$stage/$name"/lib*.dll

# Texts for Windows: UTF-8 with a byte-order mark (Notepad reads it in every version), CRLF line ends.
windows_text() { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$1"; }
sed "s/@VERSION@/$version/g" "$root/res/windows/README.txt.in" > "$stage/readme.txt"
windows_text "$stage/readme.txt" > "$stage/$name/README.txt"
windows_text /usr/share/common-licenses/LGPL-3 > "$stage/$name/licenses/LGPL-3.txt"
windows_text /usr/share/common-licenses/GPL-3 > "$stage/$name/licenses/GPL-3.txt"
windows_text /usr/share/doc/gcc-mingw-w64-base/copyright > "$stage/$name/licenses/MinGW-w64-GCC-runtime.txt"
windows_text /usr/share/doc/mingw-w64-common/copyright > "$stage/$name/licenses/MinGW-w64-winpthreads.txt"
# Qt and the libraries bundled in it (zlib, libpng, libjpeg, FreeType, HarfBuzz, PCRE2, ...), as Debian lists them.
windows_text /usr/share/doc/libqt6core6/copyright > "$stage/$name/licenses/Qt.txt"

mkdir -p "$out"
zip_file="$out/$name.zip"
rm -f "$zip_file"
(cd "$stage" && TZ=UTC find "$name" -exec touch -d "@$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)" {} + \
   && find "$name" -type f | LC_ALL=C sort | zip -q -X -9 "$zip_file" -@)
echo "$zip_file"
