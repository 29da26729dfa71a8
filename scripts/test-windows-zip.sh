#!/usr/bin/env bash
# Tests the Windows zip as a player meets it: unzipped into a folder with a Japanese name in a fresh
# Wine prefix (nothing else installed, code page 932) on a virtual display, with a demo game folder in
# C:\ゲーム\大戦略\ named in the registry. corvane-cli.exe answers `show` on that folder; Corvane.exe
# starts, shows the main window with the unit from LastSelectUnit, takes a new price typed into the form,
# applies it, saves through the File menu with the keyboard and closes on Escape. Then UNITINFO.DAT
# holds the change, UNITINFO.ORG the original, and the registry the closing values. A screenshot of the
# main window is written for people to look at.
#   scripts/test-windows-zip.sh <zip> [screenshot.png]
# CORVANE_MAKE_DEMO names the demo generator (default: build-tests/demo/make_demo_folder).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
zip="$(realpath "$1")"
shot="$(realpath -m "${2:-$(dirname "$zip")/corvane-windows.png}")"
make_demo="${CORVANE_MAKE_DEMO:-$root/build-tests/demo/make_demo_folder}"
# shellcheck source=windows-common.sh
source "$root/scripts/windows-common.sh"

scratch="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "Windows zip test: $*" >&2; exit 1; }

# A virtual display of its own.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.2; done
export DISPLAY=":$(cat "$scratch/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME="$scratch/home" && mkdir -p "$HOME"
corvane_wine_prefix "$scratch/prefix"
drive_c="$WINEPREFIX/drive_c"

# The zip unzipped as a player does, into C:\ツール\コルベイン\.
mkdir -p "$drive_c/ツール/コルベイン"
unzip -q "$zip" -d "$drive_c/ツール/コルベイン"
app_dir="$(dirname "$(find "$drive_c/ツール/コルベイン" -name Corvane.exe | head -n 1)")"
[ -f "$app_dir/Corvane.exe" ] || fail "no Corvane.exe in the zip"
app_win="C:\\ツール\\コルベイン\\$(basename "$app_dir")"

game="$drive_c/ゲーム/大戦略"
mkdir -p "$(dirname "$game")"
"$make_demo" "$game" >/dev/null
cp "$game/UNITINFO.DAT" "$scratch/original.dat"

# corvane-cli.exe on the Japanese-named folder (its output is UTF-8 when it goes to a pipe).
(cd "$app_dir" && wine ./corvane-cli.exe show 'C:\ゲーム\大戦略' 1) > "$scratch/show.txt" 2>&1 \
  || { cat "$scratch/show.txt" >&2; fail "corvane-cli show failed"; }
grep -q '^番号: 0001$' "$scratch/show.txt" || { cat "$scratch/show.txt" >&2; fail "corvane-cli show gave no unit 1"; }
old_price="$(sed -n 's/^価格: //p' "$scratch/show.txt")"
new_price=4321
[ "$old_price" != "$new_price" ] || new_price=4322

key='HKCU\software\Orlane\Corvane\InitData'
wine reg add "$key" /v DS6InstallDir /t REG_SZ /d 'C:\ゲーム\大戦略\' /f >/dev/null
wine reg add "$key" /v LastSelectUnit /t REG_DWORD /d 1 /f >/dev/null

(cd "$app_dir" && exec wine ./Corvane.exe) >"$scratch/corvane.log" 2>&1 &
corvane_pid=$!
main=""
for _ in $(seq 120); do
  main="$(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null | head -n 1 || true)"
  [ -n "$main" ] && break
  kill -0 "$corvane_pid" 2>/dev/null || { cat "$scratch/corvane.log" >&2; fail "Corvane.exe ended at start"; }
  sleep 0.5
done
[ -n "$main" ] || fail "the main window did not show"
sleep 3   # the tool windows come up after the first paint
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
sleep 0.5
xwd -root -silent | python3 "$root/scripts/xwd-to-png.py" "$shot"

# The price box (value 1197) is the eleventh stop after the category combo, which has the focus; typing
# replaces its text. Apply is fourteen stops back. Then File → Save, confirmed with Return; Escape closes.
press() { xdotool key --delay 120 "$@"; sleep 0.3; }
press $(printf 'Tab %.0s' $(seq 11))
press ctrl+a
xdotool type --delay 80 "$new_price"
press $(printf 'shift+Tab %.0s' $(seq 14))
press space
sleep 0.5
press alt+f
press s
sleep 1
press Return
sleep 1
xwd -root -silent | python3 "$root/scripts/xwd-to-png.py" "${shot%.png}-saved.png"
press Escape
for _ in $(seq 60); do kill -0 "$corvane_pid" 2>/dev/null || break; sleep 0.5; done
kill -0 "$corvane_pid" 2>/dev/null && fail "Corvane.exe did not close on Escape"

# The files: the original kept once, the change saved.
[ -f "$game/UNITINFO.ORG" ] || fail "no UNITINFO.ORG after the save"
cmp -s "$game/UNITINFO.ORG" "$scratch/original.dat" || fail "UNITINFO.ORG is not the original table"
(cd "$app_dir" && wine ./corvane-cli.exe show 'C:\ゲーム\大戦略' 1) > "$scratch/after.txt" 2>&1
grep -q "^価格: $new_price\$" "$scratch/after.txt" || { grep '^価格' "$scratch/after.txt" >&2; fail "the new price is not in UNITINFO.DAT"; }
# Only unit 1's record (bytes 155 to 292, counted from 1) may differ.
{ cmp -l "$game/UNITINFO.DAT" "$scratch/original.dat" || true; } > "$scratch/changed.txt"
awk '$1 < 155 || $1 > 292 { bad = 1 } END { exit bad ? 1 : 0 }' "$scratch/changed.txt" \
  || { head -5 "$scratch/changed.txt" >&2; fail "UNITINFO.DAT changed outside unit 1"; }

# The registry: the 18 closing values, integers as REG_DWORD, texts as REG_SZ.
wine reg query "$key" | iconv -f CP932 -t UTF-8 | tr -d '\r' > "$scratch/reg.txt"
grep -Eq '^ +DS6InstallDir +REG_SZ +C:\\ゲーム\\大戦略\\$' "$scratch/reg.txt" || { cat "$scratch/reg.txt" >&2; fail "DS6InstallDir"; }
grep -Eq '^ +LastSelectUnit +REG_DWORD +0x1$' "$scratch/reg.txt" || { cat "$scratch/reg.txt" >&2; fail "LastSelectUnit"; }
for window in MainDialog SpeedDlg ProductDlg EtcDlg; do
  for edge in Left Top Right Bottom; do
    grep -Eq "^ +$window$edge +REG_DWORD +0x[0-9a-f]+\$" "$scratch/reg.txt" \
      || { cat "$scratch/reg.txt" >&2; fail "$window$edge is not a REG_DWORD"; }
  done
done
echo "Windows zip test: passed (screenshot $shot)"
