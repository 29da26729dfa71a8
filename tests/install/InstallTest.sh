#!/usr/bin/env bash
# Checks what `cmake --install` and CPack put on a user's machine.
#   InstallTest.sh tree    <build> <app-id> <with-cli> <make_demo_folder>
#       installs into a temporary DESTDIR, checks the files, validates the desktop entry and the
#       metainfo, and starts the installed Corvane on a demo game folder under Xvfb.
#   InstallTest.sh package <build> <app-id> <with-cli>
#       makes the .deb and the .tar.gz with CPack and checks the .deb's control data and both
#       packages' contents against the install.
set -euo pipefail
mode="$1" build="$2" app_id="$3" with_cli="$4"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# The files an install under the prefix /usr must hold, sorted.
expected_files() {
  {
    echo "usr/bin/Corvane"
    [ "$with_cli" = 1 ] && echo "usr/bin/corvane-cli"
    echo "usr/share/applications/$app_id.desktop"
    echo "usr/share/metainfo/$app_id.metainfo.xml"
    for size in 16 22 24 32 48 64 128 256; do
      echo "usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    done
  } | LC_ALL=C sort
}

# Width and height of a PNG file from its header.
png_size() {
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || { echo "not-png"; return; }
  echo "$((16#$(od -An -tx1 -j16 -N4 "$1" | tr -d ' \n')))x$((16#$(od -An -tx1 -j20 -N4 "$1" | tr -d ' \n')))"
}

install_into() {
  DESTDIR="$1" cmake --install "$build" --prefix /usr >"$scratch/install.log" 2>&1 \
    || { cat "$scratch/install.log" >&2; fail "cmake --install failed"; }
}

check_tree() {
  local root="$scratch/root"
  install_into "$root"
  diff <(expected_files) <(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >&2 \
    || fail "installed files differ from the expected list (< expected, > installed)"
  for program in "$root"/usr/bin/*; do
    [ -x "$program" ] || fail "$program is not executable"
  done
  for size in 16 22 24 32 48 64 128 256; do
    local got
    got="$(png_size "$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")"
    [ "$got" = "${size}x${size}" ] || fail "icon for ${size}x${size} is $got"
  done

  local desktop="$root/usr/share/applications/$app_id.desktop"
  local out
  out="$(desktop-file-validate "$desktop" 2>&1)" || { echo "$out" >&2; fail "desktop-file-validate"; }
  # Hints are allowed (Game and Utility are both main categories on purpose); warnings are not.
  if echo "$out" | grep -v ': hint: ' | grep -q .; then echo "$out" >&2; fail "desktop-file-validate warns"; fi
  for line in "Name=Corvane" "Name[ja]=" "Comment[ja]=" "Categories=Game;Utility;" "Exec=Corvane" "Icon=$app_id"; do
    grep -q "^$(printf '%s' "$line" | sed 's/[][]/\\&/g')" "$desktop" || fail "desktop entry lacks $line"
  done

  out="$(appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" 2>&1)" \
    || { echo "$out" >&2; fail "appstreamcli validate"; }
  out="$(appstreamcli validate-tree --no-net "$root/usr" 2>&1)" || { echo "$out" >&2; fail "appstreamcli validate-tree"; }
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$root/usr/share/metainfo/$app_id.metainfo.xml" \
    || fail "metainfo does not launch $app_id.desktop"

  # The installed program on a demo game folder: it shows the main dialog and, because the data
  # loaded, the movement-cost window; Escape closes it and it writes its settings on the way out.
  "$5" "$scratch/game" >/dev/null
  mkdir -p "$scratch/config/Orlane" "$scratch/home" "$scratch/runtime" && chmod 700 "$scratch/runtime"
  printf '[InitData]\nDS6InstallDir=%s/\nLastSelectUnit=5\n' "$scratch/game" >"$scratch/config/Orlane/Corvane.conf"
  cat >"$scratch/drive.sh" <<'DRIVE'
set -u
"$1" >"$2/corvane.log" 2>&1 &
pid=$!
for _ in $(seq 300); do
  kill -0 $pid 2>/dev/null || { wait $pid; exit 6; }
  xdotool search --onlyvisible --name '^移動力$' >/dev/null && break
  sleep 0.2
done
xdotool search --onlyvisible --name '^移動力$' >/dev/null || { kill $pid; exit 3; }
main="$(timeout 10 xdotool search --sync --onlyvisible --name '^Corvane$' | head -1)" || { kill $pid; exit 4; }
xdotool windowfocus --sync "$main"
xdotool key Escape
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
kill -0 $pid 2>/dev/null && { kill $pid; exit 5; }
wait $pid
DRIVE
  # A sanitizer build keeps its checks for our code; the X11 libraries' own leaks and their
  # length-limited string copies (strict_string_checks) are not ours to report.
  local rc=0
  env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" \
    XDG_RUNTIME_DIR="$scratch/runtime" ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0:strict_string_checks=0" \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$scratch/drive.sh" "$root/usr/bin/Corvane" "$scratch" || rc=$?
  case $rc in
    0) ;;
    3) cat "$scratch/corvane.log" >&2; fail "the installed Corvane showed no movement-cost window (data not loaded?)" ;;
    4) cat "$scratch/corvane.log" >&2; fail "the installed Corvane showed no main dialog" ;;
    5) fail "the installed Corvane did not end on Escape" ;;
    6) cat "$scratch/corvane.log" >&2; fail "the installed Corvane ended before showing its windows" ;;
    *) cat "$scratch/corvane.log" >&2; fail "the installed Corvane ended with status $rc" ;;
  esac
  grep -q '^MainDialogLeft=' "$scratch/config/Orlane/Corvane.conf" && grep -q '^LastSelectUnit=5$' "$scratch/config/Orlane/Corvane.conf" \
    || fail "the installed Corvane did not write its settings on closing"
  echo "installed files, desktop entry, metainfo and a start on the demo folder: fine"
}

check_package() {
  (cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G "DEB;TGZ" -B "$scratch/out" >"$scratch/cpack.log" 2>&1) \
    || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
  local deb
  deb="$(ls "$scratch"/out/corvane_*.deb)" || fail "no corvane_*.deb made"
  local info
  info="$(dpkg-deb --info "$deb")"
  echo "$info" | grep -q '^ Package: corvane$' || fail "package name is not corvane"
  echo "$info" | grep -q '^ Architecture: amd64$\|^ Architecture: arm64$' || fail "no architecture"
  local depends
  depends="$(dpkg-deb --field "$deb" Depends)"
  for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins qt6-translations-l10n fonts-ipafont-gothic; do
    echo "$depends" | tr ',' '\n' | grep -q "^ *$package\b" || fail "Depends lacks $package: $depends"
  done
  # The package holds exactly what an install under /usr holds.
  install_into "$scratch/root"
  diff <(cd "$scratch/root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) \
       <(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | LC_ALL=C sort) >&2 \
    || fail "the .deb's files differ from the install (< install, > .deb)"
  # The .tar.gz holds the same tree below one folder, without the prefix.
  diff <(cd "$scratch/root/usr" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) \
       <(tar tzf "$scratch"/out/corvane-*.tar.gz | grep -v '/$' | sed 's|^[^/]*/||' | LC_ALL=C sort) >&2 \
    || fail "the .tar.gz's files differ from the install (< install, > .tar.gz)"
  dpkg-deb --contents "$deb" | awk '$6 == "./usr/bin/Corvane" && $1 == "-rwxr-xr-x" && $2 == "root/root" {found=1} END {exit !found}' \
    || fail "usr/bin/Corvane in the .deb is not an executable owned by root"
  echo "the .deb: $(basename "$deb"), depends on the Qt, translation and font packages; the .tar.gz: the same files"
}

case "$mode" in
  tree) check_tree "$@" ;;
  package) check_package ;;
  *) fail "unknown mode $mode" ;;
esac
