#!/usr/bin/env bash
# The zip as a Windows user meets it: unpacked into a folder with a Chinese
# name in a fresh wine on a Chinese system (code page 936), both programs run
# from there. The window must show its client area of 731 x 569, and files
# chosen in its open-file dialog (the system's own) from a folder with a
# Chinese name must convert both ways, clicked through as a user would, to
# the bytes the Linux window wrote for the same files. Screenshots of the
# window and its dialogs go to BUILD/screens/.
#
#   scripts/windows_window.sh ZIP BUILD LINUX_CLI
# BUILD holds bin/top_windows.exe and the Linux window's outputs of the same
# sources in window-outputs/linux (windows_tests.sh makes both).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/wine.sh

ZIP=$(realpath "$1")
BUILD=$(realpath "$2")
LINUX_CLI=$(realpath "$3")
NAME=$(basename "$ZIP" .zip)
TOP_WINDOWS=$BUILD/bin/top_windows.exe
REFERENCE=$BUILD/window-outputs/linux
SCREENS=$BUILD/screens
TRY=$BUILD/zip-try
TITLE="Trekvane航路点、航迹、航线转换成MapInfo Mif格式"

rm -rf "$TRY" "$SCREENS"
mkdir -p "$TRY" "$SCREENS"
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:$((90 + RANDOM % 100))
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
fi
wine_start "$TRY/wine"
trap '"$WINESERVER" -k 2>/dev/null || true; [ -z "${xvfb:-}" ] || kill "$xvfb" 2>/dev/null || true' EXIT

failures=0
check() {  # check WHAT COMMAND...: runs the check, says how it went
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failures=$((failures + 1)); fi
}

# Unpacked where a user might put it; the sources in a folder of their own.
APPS=$WINEPREFIX/drive_c/测绘工具
SOURCES=$WINEPREFIX/drive_c/数据/太原
mkdir -p "$APPS" "$SOURCES"
(cd "$APPS" && cmake -E tar xf "$ZIP")
cp tests/data/windows/wells.upt "$SOURCES/小谢.upt"
cp tests/data/windows/points.mif "$SOURCES/魏.mif"
cp tests/data/windows/points.mid "$SOURCES/魏.mid"

# The command line from the zip, against the Linux one.
mkdir -p "$TRY/linux-cli" "$WINEPREFIX/drive_c/数据/cli"
"$LINUX_CLI" to-mif -q -o "$TRY/linux-cli" "$SOURCES/小谢.upt" </dev/null
check "carteloom-cli.exe runs from the zip" \
  on_windows "$APPS/$NAME/carteloom-cli.exe" to-mif -q -o 'C:\数据\cli' 'C:\数据\太原\小谢.upt' </dev/null
check "carteloom-cli.exe writes the Linux bytes" diff -r "$TRY/linux-cli" "$WINEPREFIX/drive_c/数据/cli"

# wait_for TITLE [SECONDS] [STATE]: waits until a window of that title shows
# (and is in that state: active, enabled, disabled); prints its line of top_windows.
# Wine's first start in a new prefix can take long.
wait_for() {
  local title=$1 seconds=${2:-180} state=${3:-} line
  for ((i = 0; i < seconds * 2; i++)); do
    line=$(on_windows "$TOP_WINDOWS" 2>/dev/null | tr -d '\r' |
      awk -F'\t' -v t="$title" -v s="$state" '$1 == t && (s == "" || $4 == s) { print; exit }')
    if [ -n "$line" ]; then
      echo "$line"
      return 0
    fi
    sleep 0.5
  done
  echo "no window \"$title\" ${state:+($state) }after $seconds s" >&2
  shot "missing-$title"
  return 1
}
# gone TITLE [SECONDS]: waits until no window of that title shows.
gone() {
  for ((i = 0; i < ${2:-60} * 2; i++)); do
    on_windows "$TOP_WINDOWS" 2>/dev/null | tr -d '\r' | awk -F'\t' -v t="$1" '$1 == t { f = 1 } END { exit !f }' || return 0
    sleep 0.5
  done
  return 1
}
# shot NAME: the screen as it is once painting settled.
shot() {
  sleep 0.5
  import -window root "$SCREENS/$1.png"
}
# click X Y: a click at that point of the window's client area, once the
# window takes it: without a window manager, wine gives the window the focus
# back a moment after a box or dialog closes.
click() {
  wait_for "$TITLE" 60 active >/dev/null
  xdotool mousemove $((x + $1)) $((y + $2)) click 1
}
# answer TITLE NAME: takes a screenshot of the box of that title and
# answers it with Enter (OK), then waits until it is gone (a box of the same
# title may follow it).
answer() {
  local box
  box=$(wait_for "$1" 60 active)
  shot "$2"
  xdotool key Return
  for ((i = 0; i < 120; i++)); do
    on_windows "$TOP_WINDOWS" 2>/dev/null | tr -d '\r' | grep -qxF "$box" || return 0
    sleep 0.5
  done
  return 1
}

# add X FILE NAME [BOX]: adds FILE through the open-file dialog of the
# column whose 添加 is at X, by typing its name there (the dialog opens in
# the sources' folder); then answers the box of that title, if one comes.
add() {
  click "$1" 148
  local dialog=打开要转换的航路点、航迹、航线文件
  [ "$1" -lt 365 ] || dialog=打开要转换的MapInfo的Mif文件
  wait_for "$dialog" 60 active >/dev/null
  shot "dialog-$3"
  # The name is pasted: xdotool types Chinese characters by remapping a key
  # for each, which a busy machine loses. If the dialog still stays, or shows
  # a box about a name it cannot find, that box is closed and it is tried again.
  printf %s "$2" | xclip -selection clipboard
  local try
  for try in 1 2 3; do
    xdotool key ctrl+a ctrl+v Return
    gone "$dialog" 30 && break
    shot "retry-$3-$try"
    [ "$try" -lt 3 ] || return 1
    wait_for "$dialog" 5 active >/dev/null 2>&1 || { xdotool key Return; wait_for "$dialog" 30 active >/dev/null; }
  done
  [ -z "${4:-}" ] || answer "$4" "$3"
}

# The window, started in the sources' folder as from a shortcut there: its
# folder lists and its dialog open in that folder, where it writes.
(cd "$SOURCES" && on_windows "$APPS/$NAME/carteloom.exe" >"$TRY/window.log" 2>&1) &
window=$!
if line=$(wait_for "$TITLE" 180 active); then
  size=$(cut -f2 <<<"$line")
  check "the window's client area is 731x569 (it is $size)" [ "$size" = 731x569 ]
  IFS=, read -r x y <<<"$(cut -f3 <<<"$line")"
  shot window
  # Both directions, 转换 at (320, 436) on the left and (696, 436) on the right.
  add 320 小谢.upt to-mif
  click 320 436
  answer 消息 summary-to-mif
  add 696 魏.mif to-receiver
  click 696 436
  answer 消息 summary-to-receiver
  for file in 出图/小谢.mif 出图/小谢.mid 卡/魏.upt 卡/魏2.upt 卡/魏3.upt; do
    check "the window wrote $(basename "$file") as the Linux window does" cmp "$REFERENCE/$file" "$SOURCES/$(basename "$file")"
  done
  # Boxes that name a path: a file listed twice, an output that exists.
  add 320 小谢.upt again
  add 320 小谢.upt duplicate 消息
  click 320 436
  answer 消息 overwrite
  answer 消息 summary-again
  click 320 484  # 取消 ends the program
  check "取消 ends the program" gone "$TITLE"
else
  failures=$((failures + 1))
fi
kill "$window" 2>/dev/null || true
echo "screenshots: $SCREENS"
[ "$failures" -eq 0 ]
