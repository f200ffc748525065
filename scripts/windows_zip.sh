#!/usr/bin/env bash
# Makes dist/carteloom-VERSION-windows-x64.zip from the Windows build: the
# window and the command line (stripped, static: they run on their own), a
# short Chinese text on their use, the licence texts of the Qt linked into
# the window and of what Qt bundles, and what the LGPL asks for a static Qt:
# the program's objects and the command that links them with another Qt.
#
#   scripts/windows_zip.sh BUILD QT_PREFIX     (windows_tests.sh calls it)
# Prints the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=$1
QT=$2
MINGW=x86_64-w64-mingw32
VERSION=$(sed -n 's/^project(Carteloom VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
QT_VERSION=$(basename "$QT" | sed -n 's/^qt-\([0-9.]*\)-.*/\1/p')
NAME=carteloom-$VERSION-windows-x64
STAGE=$BUILD/dist/$NAME
rm -rf "$BUILD/dist"
mkdir -p "$STAGE/licenses" "$STAGE/relink/objects" dist

for program in carteloom carteloom-cli; do
  $MINGW-strip -o "$STAGE/$program.exe" "$BUILD/bin/$program.exe"
done

# The text for the user: UTF-8 with a byte-order mark and CR LF, which every
# Notepad reads.
{
  printf '\xef\xbb\xbf'
  sed -e "s/@VERSION@/$VERSION/" -e "s/@QT_VERSION@/$QT_VERSION/" -e 's/$/\r/' scripts/windows_readme.txt
} >"$STAGE/README.txt"

cp -r "$QT/licenses/." "$STAGE/licenses/"

# The link of carteloom.exe as CMake ran it: the program's own objects and
# libraries copied beside the command, Qt's files named from $QT.
APP=$BUILD/src/app
command=("\${CXX:-$MINGW-g++-posix}" -O3 -static -mwindows -Wl,--gc-sections)
for word in $(cat "$APP/CMakeFiles/carteloom.dir/objects1") $(xargs -n1 <"$APP/CMakeFiles/carteloom.dir/linkLibs.rsp"); do
  case $word in
    "$QT"/*) command+=("\"\$QT${word#"$QT"}\"") ;;
    -*) command+=("$word") ;;
    *)
      cp "$APP/$word" "$STAGE/relink/objects/"
      command+=("objects/$(basename "$word")")
      ;;
  esac
done
command+=(-o carteloom.exe)
cp scripts/windows_qt.sh "$STAGE/relink/build-qt.sh"
{
  echo "#!/bin/sh"
  echo "# Links carteloom.exe again, against the static Qt for MinGW-w64 in \$QT"
  echo "# (Qt $QT_VERSION built as build-qt.sh builds it, or a compatible one)."
  echo "# Run it in this folder: QT=/path/to/qt sh relink.sh"
  echo 'set -e'
  echo ': "${QT:?set QT to the folder of the Qt to link with}"'
  echo "${command[*]}"
} >"$STAGE/relink/relink.sh"
sed -e 's/$/\r/' >"$STAGE/relink/README.txt" <<EOF
Relinking carteloom.exe with another Qt

carteloom.exe links Qt $QT_VERSION statically. Qt is free software under the GNU Lesser
General Public License version 3 (licenses/LGPL-3.0-only.txt); you may link the program
with a modified Qt of your own:

1. Build a static Qt for 64-bit Windows with MinGW-w64 (build-qt.sh is how this one was
   built: Debian's qt6-base $QT_VERSION source package, cross-compiled on Debian).
2. In this folder, run relink.sh with QT set to that Qt's install folder. It is the very
   command the program was linked with; objects/ holds the program's own objects and
   libraries, \$QT stands where Qt's files were.

The source of the Qt used is Debian's package qt6-base, version $(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo "$QT_VERSION"),
at https://snapshot.debian.org/package/qt6-base/ and https://deb.debian.org/debian/pool/main/q/qt6-base/.
EOF

rm -f "dist/$NAME.zip"
(cd "$BUILD/dist" && cmake -E tar cf "$OLDPWD/dist/$NAME.zip" --format=zip "$NAME")
echo "dist/$NAME.zip"
