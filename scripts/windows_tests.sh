#!/usr/bin/env bash
# The Windows build: cross-compiles everything with MinGW-w64 against a static
# Qt for Windows (scripts/windows_qt.sh, built once and cached), runs the
# core's and the window's tests under wine, converts the same inputs with the
# Linux and the Windows command line in both directions and requires
# byte-identical outputs, makes the zip for Windows users
# (scripts/windows_zip.sh) and tries it as one would: unpacked into a fresh
# wine, the window driven on a virtual screen (scripts/windows_window.sh).
#
# LINUX_CLI names the Linux carteloom-cli to compare with, LINUX_WINDOW_TEST
# the Linux window's Qt Test (default: those test.sh builds in build/; built
# here when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/wine.sh

ensure_packages "${WINDOWS_PACKAGES[@]}"

BUILD=build-windows
DATA=tests/data/windows
ROOT=$PWD
mkdir -p "$BUILD"
started=$(date +%s)
QT=$(scripts/windows_qt.sh)
qt_ready=$(date +%s)

wine_start "$ROOT/$BUILD/wine"
# One virtual screen for every program with a window, stopped with the rest.
export DISPLAY=:$((90 + RANDOM % 100))
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap '"$WINESERVER" -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAILED: $*" >&2; }

# A target that does not compile for Windows fails the run, but the rest is
# still built and tested, so that one run tells everything. A build folder
# configured with another Qt (or none) starts afresh.
grep -qsF "$QT/" "$BUILD"/CMakeFiles/*/CMakeSystem.cmake || rm -rf "$BUILD/CMakeCache.txt" "$BUILD/CMakeFiles"
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DCARTELOOM_APP=ON \
  -DCMAKE_TOOLCHAIN_FILE="$QT/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null
rm -f "$BUILD"/bin/*.exe  # no stale program may stand in for one that failed to build
cmake --build "$BUILD" -j"$(nproc)" -- -k || fail "the Windows build"
built=$(date +%s)

# --- The core's and the window's tests, one wine process per test binary.
for exe in "$BUILD"/bin/*_tests.exe; do
  echo "== $(basename "$exe") under wine"
  log=$BUILD/$(basename "$exe" .exe).log
  status=0
  (cd "$BUILD" && on_windows "$ROOT/$exe" --gtest_brief=1) >"$log" 2>&1 || status=$?
  grep -v '^Running main()' "$log" || true
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log")
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log")
  passed=$((passed + ${ok:-0}))
  failed=$((failed + ${bad:-0}))
  [ "${ok:-0}" -gt 0 ] || [ -n "$bad" ] || fail "$exe ran no test"
  [ "$status" -eq 0 ] || [ -n "$bad" ] || fail "$exe ended with status $status"
done

# The window's Qt Test on the Windows platform of the virtual screen. Its
# conversion of files with Chinese names must give the bytes the Linux
# window gives.
if [ -z "${LINUX_WINDOW_TEST:-}" ]; then
  LINUX_WINDOW_TEST=build/bin/app_window_test
  [ -x "$LINUX_WINDOW_TEST" ] || build build -DCARTELOOM_APP=ON
fi
for side in linux windows; do rm -rf "$BUILD/window-outputs/$side"; done
for exe in "$BUILD"/bin/app_*_test.exe; do
  echo "== $(basename "$exe") under wine"
  log=$BUILD/$(basename "$exe" .exe).log
  status=0
  # Qt Test writes its report to a file: a console under wine may not show it.
  (cd "$BUILD" && CARTELOOM_WINDOW_OUTPUTS=$ROOT/$BUILD/window-outputs/windows \
    on_windows "$ROOT/$exe" -o "$(basename "$log"),txt") >/dev/null 2>&1 || status=$?
  touch "$log"
  grep -a -A3 -E '^(FAIL|XPASS|Totals)' "$log" || true
  totals=$(sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed.*/\1 \2/p' "$log")
  passed=$((passed + ${totals% *}))
  failed=$((failed + ${totals#* }))
  [ -n "$totals" ] && [ "${totals% *}" -gt 0 ] || fail "$exe ran no test (status $status)"
done
CARTELOOM_WINDOW_OUTPUTS=$ROOT/$BUILD/window-outputs/linux QT_QPA_PLATFORM=offscreen "$LINUX_WINDOW_TEST" \
  ChineseNamesPassThroughBothDirections >/dev/null || fail "the Linux window's conversion of Chinese names"
if [ -d "$BUILD/window-outputs/windows" ] && diff -r "$BUILD/window-outputs/linux" "$BUILD/window-outputs/windows" >&2; then
  echo "window: $(find "$BUILD/window-outputs/linux" -type f | wc -l) output files of Chinese-named sources, the same bytes on Linux and Windows"
  pass
else
  fail "window: the outputs of Chinese-named sources differ between Linux and Windows"
fi

# --- The same conversions on both systems. The terminal's line ends are the
# system's own; the files' are not.
if [ -z "${LINUX_CLI:-}" ]; then
  LINUX_CLI=build/bin/carteloom-cli
  if [ ! -x "$LINUX_CLI" ]; then
    build build-windows-reference -DCARTELOOM_APP=OFF -DCARTELOOM_TESTS=OFF
    LINUX_CLI=build-windows-reference/bin/carteloom-cli
  fi
fi
LINUX_CLI=$(realpath "$LINUX_CLI")
WINDOWS_CLI=$ROOT/$BUILD/bin/carteloom-cli.exe

WORK=$ROOT/$BUILD/end-to-end
rm -rf "$WORK"
mkdir -p "$WORK/in/gps" "$WORK/in/gis"
for side in linux windows; do mkdir -p "$WORK/$side/mif" "$WORK/$side/receiver"; done
# Names with Chinese characters, two of which end in the byte "\" in GBK.
cp "$DATA/wells.upt" "$WORK/in/gps/誠錦测试.upt"
cp "$DATA/day1.log" "$WORK/in/gps/day1.log"
cp "$DATA/roads.rte" "$WORK/in/gps/錦江路线.rte"
cp "$DATA/points.mif" "$WORK/in/gis/誠点.mif"
cp "$DATA/points.mid" "$WORK/in/gis/誠点.mid"
cp "$DATA/lines.mif" "$WORK/in/gis/lines.mif"
cp "$DATA/lines.mid" "$WORK/in/gis/lines.mid"

# Drives: S: holds the inputs; the outputs go to the roots of T: and U:, so
# the output names hold a doubled separator after the drive.
ln -sfn "$WORK/in" "$WINEPREFIX/dosdevices/s:"
ln -sfn "$WORK/windows/mif" "$WINEPREFIX/dosdevices/t:"
ln -sfn "$WORK/windows/receiver" "$WINEPREFIX/dosdevices/u:"

# run SIDE NAME COMMAND...: records the exit status and the summary line.
run() {
  local side=$1 name=$2
  shift 2
  local status=0
  "$@" >"$WORK/$side/$name.out" 2>"$WORK/$side/$name.err" </dev/null || status=$?
  echo "$status" >"$WORK/$side/$name.status"
}

# same NAME DIRECTION: both systems ended alike and wrote the same files.
same() {
  local name=$1 direction=$2 files
  files=$(find "$WORK/linux/$direction" -type f | wc -l)
  if ! cmp -s "$WORK/linux/$name.status" "$WORK/windows/$name.status"; then
    fail "$name: exit status $(cat "$WORK/linux/$name.status") on Linux, $(cat "$WORK/windows/$name.status") on Windows"
  elif ! diff --strip-trailing-cr "$WORK/linux/$name.out" "$WORK/windows/$name.out" >&2; then
    fail "$name: the summaries differ"
  elif ! diff -r "$WORK/linux/$direction" "$WORK/windows/$direction" >&2; then
    fail "$name: the outputs differ"
  else
    echo "$name: $files output files, the same bytes on Linux and Windows"
    pass
  fi
  [ "$files" -gt 0 ] || echo "$name: note: the Linux command line wrote no output in this direction"
}

convert_all() {
  local name=$1 mode=$2
  run linux "$name-mif" "$LINUX_CLI" to-mif --on-exist="$mode" -o "$WORK/linux/mif" \
    "$WORK/in/gps/誠錦测试.upt" "$WORK/in/gps/day1.log" "$WORK/in/gps/錦江路线.rte"
  run windows "$name-mif" on_windows "$WINDOWS_CLI" to-mif --on-exist="$mode" -o 'T:\' \
    'S:\gps\誠錦测试.upt' 'S:/gps/day1.log' 'S:\gps/錦江路线.rte'
  same "$name-mif" mif
  run linux "$name-receiver" "$LINUX_CLI" to-receiver --on-exist="$mode" -o "$WORK/linux/receiver" \
    "$WORK/in/gis/誠点.mif" "$WORK/in/gis/lines.mif"
  run windows "$name-receiver" on_windows "$WINDOWS_CLI" to-receiver --on-exist="$mode" -o 'U:\' \
    'S:\gis\誠点.mif' 'S:/gis\lines.mif'
  same "$name-receiver" receiver
}

echo "== carteloom-cli.exe under wine against $LINUX_CLI"
convert_all first fail
# Again over the outputs: replaced in place, no temporary file left behind.
convert_all overwrite overwrite
# And refused: the outputs stay as they are.
convert_all refused fail

# --- The zip for Windows users, tried as a user would.
if zip=$(scripts/windows_zip.sh "$BUILD" "$QT"); then
  echo "== $zip"
  # What the LGPL asks of a static Qt: the program relinks from what the zip carries.
  relink=$BUILD/relink-try
  rm -rf "$relink"
  cp -r "$BUILD/dist/$(basename "$zip" .zip)/relink" "$relink"
  if (cd "$relink" && QT=$QT sh relink.sh) && [ "$(stat -c %s "$relink/carteloom.exe")" = "$(stat -c %s "$BUILD/bin/carteloom.exe")" ]; then
    echo "relink: carteloom.exe links again from the zip's objects and command"
    pass
  else
    fail "relink: the zip's objects and command do not give the program"
  fi
  if scripts/windows_window.sh "$zip" "$BUILD" "$LINUX_CLI"; then pass; else fail "the zip's programs under wine"; fi
else
  fail "the zip"
fi

finished=$(date +%s)
echo "Qt for Windows $((qt_ready - started)) s, Windows build $((built - qt_ready)) s, tests under wine $((finished - built)) s"
echo "wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
