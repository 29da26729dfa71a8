# Shared by the scripts that build and run Corvane for Windows (sourced, not run):
#   corvane_find_qt_windows   sets CORVANE_QT_SDK to Qt for Windows (MinGW-w64), unpacking the archive of
#                             ../shared/qt6-mingw/ or $CORVANE_QT_WINDOWS into build-qt-windows/; false
#                             when there is none
#   corvane_build_windows B [target...]   configures and builds the project (or the targets named) for
#                             Windows in folder B (Release)
#   corvane_wine_prefix P     makes P a fresh 64-bit Wine prefix with code page 932 and starts its server
# Expects $root (the project folder).

corvane_find_qt_windows() {
  local source="${CORVANE_QT_WINDOWS:-$root/../shared/qt6-mingw}"
  CORVANE_QT_SDK=""
  if [ -f "$source/lib/cmake/Qt6/Qt6Config.cmake" ]; then    # an unpacked SDK
    CORVANE_QT_SDK="$(cd "$source" && pwd)"
    return 0
  fi
  local archive=""
  if [ -f "$source" ]; then
    archive="$source"
  elif [ -d "$source" ]; then
    archive="$(ls -1 "$source"/qt6*mingw*.tar.xz 2>/dev/null | head -n 1 || true)"
  fi
  [ -n "$archive" ] || return 1
  # Unpacked once per archive into the build area, never into the sources.
  local dest="$root/build-qt-windows"
  local stamp
  stamp="$(stat -c '%s %Y' "$archive") $archive"
  if [ ! -f "$dest/.unpacked" ] || [ "$(cat "$dest/.unpacked")" != "$stamp" ]; then
    rm -rf "$dest" && mkdir -p "$dest"
    tar -xJf "$archive" -C "$dest"
    echo "$stamp" > "$dest/.unpacked"
  fi
  local config
  config="$(ls -1 "$dest"/*/lib/cmake/Qt6/Qt6Config.cmake 2>/dev/null | head -n 1 || true)"
  [ -n "$config" ] || return 1
  CORVANE_QT_SDK="$(cd "$(dirname "$config")/../../.." && pwd)"
}

corvane_build_windows() {
  local build="$1"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-w64.cmake" \
    -DCMAKE_PREFIX_PATH="$CORVANE_QT_SDK" >/dev/null
  if [ $# -gt 1 ]; then
    cmake --build "$build" --target "${@:2}"
  else
    cmake --build "$build"
  fi
}

corvane_wine_prefix() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  # Wine takes its code page (932) from the locale.
  export LC_ALL=ja_JP.UTF-8
  mkdir -p "$WINEPREFIX"
  # Wine's server and its helper processes start here, once, and stay until the end: helpers started by
  # a program would hold on to its output and keep the caller waiting.
  wineserver -p >/dev/null 2>&1
  wineboot --init >/dev/null 2>&1
  # The desktop process, which Wine otherwise starts for the first program that needs it, handing it
  # that program's error output (ctest then waits for it until the test times out).
  (wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &)
  for _ in $(seq 50); do
    pgrep -f 'explorer.exe /desktop' >/dev/null && break
    sleep 0.2
  done
}
