#!/usr/bin/env bash
# The Windows build: cross-compiles the core, carteloom-cli.exe and the core
# tests with MinGW-w64, runs the tests under wine, then converts the same
# inputs with the Linux and the Windows command line, in both directions, and
# requires byte-identical outputs.
#
# LINUX_CLI names the Linux carteloom-cli to compare with (default: the one
# that test.sh builds in build/; built here when it is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

ensure_packages "${WINDOWS_PACKAGES[@]}"

BUILD=build-windows
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
DATA=tests/data/windows
ROOT=$PWD

# A wine of our own, inside the build folder, and quiet.
export WINEPREFIX=$ROOT/$BUILD/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$BUILD"
started=$(date +%s)

# A Chinese Windows: wine takes the ANSI code page (936, GBK) from the locale,
# which is generated into the build folder so that the machine's stays as it is.
LOCALES=$ROOT/$BUILD/locale
[ -d "$LOCALES/zh_CN.UTF-8" ] || { mkdir -p "$LOCALES" && localedef -i zh_CN -f UTF-8 "$LOCALES/zh_CN.UTF-8"; }
on_windows() { LOCPATH=$LOCALES LC_ALL=zh_CN.UTF-8 "$WINE" "$@"; }

[ -d "$WINEPREFIX/dosdevices" ] || "$WINE" wineboot --init >/dev/null 2>&1
# One wine server for the whole run (each program would otherwise start its
# own), stopped however the script ends.
"$WINESERVER" -p 2>/dev/null || true  # already running: fine
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
# The first program starts wine's background services, which keep its output
# open: let that be a program whose output nobody waits for.
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAILED: $*" >&2; }

# A target that does not compile for Windows fails the run, but the rest is
# still built and tested, so that one run tells everything.
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCARTELOOM_APP=OFF >/dev/null
rm -f "$BUILD"/bin/*.exe  # no stale program may stand in for one that failed to build
cmake --build "$BUILD" -j"$(nproc)" -- -k || fail "the Windows build"
built=$(date +%s)

# --- The core tests, one wine process per test binary.
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
  [ "$status" -eq 0 ] || [ -n "$bad" ] || fail "$exe ended with status $status"
done

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

finished=$(date +%s)
echo "Windows build $((built - started)) s, tests under wine $((finished - built)) s"
echo "wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
