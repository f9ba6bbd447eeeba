#!/usr/bin/env bash
# The zip a Windows user unpacks: made by scripts/package from this build's program folder, unpacked
# into a fresh folder, where it must give one folder named for the program and its version (and
# nothing else), and started in that folder under Wine (on a virtual display). It must find docs\ and
# input\ beside it, read its data files, and, as the zip holds no SimConnect.dll, say on its message
# line and in Log.txt that SimConnect.dll was not found beside it; closed, it ends its run and quits.
# Needs Wine, Xvfb, unzip and zip (scripts/install-deps).
#
#   unpacked_start_test.sh SOURCE_DIR PROGRAM_FOLDER
set -euo pipefail
source_dir=$1
program_folder=$2

work=$(mktemp -d)
cleanup() {
  [ -n "${program:-}" ] && kill "$program" 2>/dev/null || true
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; [ -f "$work/unpacked/Log.txt" ] && cat "$work/unpacked/Log.txt" >&2; exit 1; }

"$source_dir/scripts/package" "$program_folder" "$work/Merrowvale.zip" >/dev/null
mkdir "$work/extracted"
(cd "$work/extracted" && unzip -q "$work/Merrowvale.zip")
version=$(sed -n 's/^project(Merrowvale VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
[ "$(ls -A "$work/extracted")" = "Merrowvale-$version" ] \
  || fail "the zip holds $(ls -A "$work/extracted" | tr '\n' ' ')instead of the one folder Merrowvale-$version"
mv "$work/extracted/Merrowvale-$version" "$work/unpacked"
[ ! -e "$work/unpacked/SimConnect.dll" ] || fail "the zip holds a SimConnect.dll"

# One virtual display for the prefix's start and the program.
display=:$((200 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1
wineserver -w  # the prefix is ready only once its first processes have ended
# Known folders of this test only, and the demo's simulator packages folder (a start-up without AI
# packages ends before the run).
mkdir -p "$work/roaming" "$work/local/Packages/Microsoft.FlightSimulator_8wekyb3d8bbwe/LocalCache"
cp -r "$source_dir/tests/fixtures/demo/packages" "$work/packages"
printf 'InstalledPackagesPath "%s"\r\n' "$(winepath -w "$work/packages")" \
  >"$work/local/Packages/Microsoft.FlightSimulator_8wekyb3d8bbwe/LocalCache/UserCfg.opt"
export MRW_ROAMING_APPDATA=$(winepath -w "$work/roaming")
export MRW_LOCAL_APPDATA=$(winepath -w "$work/local")
export MRW_DOWNLOAD_SITE=http://127.0.0.1:9
unset MSFS_SDK

(cd "$work/unpacked" && exec wine merrowvale.exe) >"$work/wine.log" 2>&1 &
program=$!

expected="SimConnect.dll not found: looked in $(winepath -w "$work/unpacked")\\SimConnect.dll (MSFS_SDK is not set)"
deadline=$((SECONDS + 180))
until grep -qF "$expected" "$work/unpacked/Log.txt" 2>/dev/null; do
  kill -0 "$program" 2>/dev/null || fail "merrowvale.exe ended before it reported the missing SimConnect.dll"
  ! grep -q "^Exiting: " "$work/unpacked/Log.txt" 2>/dev/null || fail "the run ended before it reported the missing SimConnect.dll"
  [ $SECONDS -lt $deadline ] || fail "no line '$expected' in Log.txt within 180 s"
  sleep 1
done

# The user closes the window: the run ends and the program quits by itself.
wine taskkill /im merrowvale.exe >/dev/null 2>&1 || true
deadline=$((SECONDS + 60))
while kill -0 "$program" 2>/dev/null; do
  [ $SECONDS -lt $deadline ] || fail "merrowvale.exe did not quit within 60 s of the close"
  sleep 1
done
grep -qF "Exiting: SYSTEM ERROR" "$work/unpacked/Log.txt" || fail "no 'Exiting: SYSTEM ERROR' in Log.txt"
echo "1 passed, 0 failed"
