#!/usr/bin/env bash
# Qt for Windows, built once from Debian's own source: the same Qt version as
# the Linux build, cross-compiled with MinGW-w64 as a static Qt holding only
# what the window and its tests need (Core, Gui, Widgets, Test and the Windows
# platform plugin). The Linux Qt serves as host tools (moc, rcc, uic).
#
# The result goes into a cache folder outside the build trees, keyed by the Qt
# version and this script's content, and is reused from then on:
#   ${CARTELOOM_CACHE:-~/.cache/carteloom}/qt-VERSION-mingw-static-HASH
# Prints that folder (its lib/cmake/Qt6 holds qt.toolchain.cmake) on stdout;
# what the build says goes to stderr. Building takes about 20 minutes of 2 cores.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

ensure_packages "${WINDOWS_PACKAGES[@]}" >&2

# The upstream part of the installed version: 6.4.2+dfsg-10 -> 6.4.2.
package_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${package_version%%[+-]*}
script_hash=$(sha256sum "$0" | cut -c1-12)
CACHE=${CARTELOOM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/carteloom}
PREFIX=$CACHE/qt-$qt_version-mingw-static-$script_hash

if [ -f "$PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
  echo "$PREFIX"
  exit 0
fi

echo "Building Qt $qt_version for Windows into $PREFIX (once; about 20 minutes)" >&2
started=$(date +%s)
WORK=$CACHE/qt-$qt_version-work
rm -rf "$WORK" "$PREFIX"
mkdir -p "$WORK"

# Debian's source package of the very version installed. Source entries are
# added in a file of our own; the machine's own list is left as it is.
SOURCES=/etc/apt/sources.list.d/carteloom-deb-src.sources
if ! apt-get source --print-uris "qt6-base=$package_version" >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Debian's source packages are not reachable; as root, this script adds $SOURCES." >&2
    exit 1
  fi
  cat >"$SOURCES" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  apt-get update -qq >&2
fi
(cd "$WORK" && apt-get source -qq --only-source "qt6-base=$package_version" >&2)
SOURCE=$(find "$WORK" -maxdepth 1 -mindepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$SOURCE" ] || { echo "apt-get source gave no qt6-base folder" >&2; exit 1; }

# Static, release, and only what the window uses. The tablet events stay out:
# Debian's source leaves out the header the Windows plugin needs for them
# (wintab.h). OpenGL stays on: the Windows plugin of this Qt needs it to compile.
MINGW=x86_64-w64-mingw32
cmake -S "$SOURCE" -B "$WORK/build" -G Ninja >&2 \
  -DCMAKE_SYSTEM_NAME=Windows \
  -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER=$MINGW-gcc-posix \
  -DCMAKE_CXX_COMPILER=$MINGW-g++-posix \
  -DCMAKE_RC_COMPILER=$MINGW-windres \
  -DCMAKE_FIND_ROOT_PATH=/usr/$MINGW \
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake \
  -DBUILD_SHARED_LIBS=OFF \
  -DQT_BUILD_EXAMPLES=OFF \
  -DQT_BUILD_TESTS=OFF \
  -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF \
  -DFEATURE_network=OFF \
  -DFEATURE_dbus=OFF \
  -DFEATURE_printsupport=OFF \
  -DFEATURE_concurrent=OFF \
  -DFEATURE_tabletevent=OFF \
  -DFEATURE_system_zlib=OFF \
  -DFEATURE_system_pcre2=OFF \
  -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_libpng=OFF \
  -DFEATURE_system_libjpeg=OFF \
  -DFEATURE_zstd=OFF \
  -DFEATURE_icu=OFF
cmake --build "$WORK/build" --parallel "$(nproc)" >&2
cmake --install "$WORK/build" >&2
# What a program linked with this Qt must carry: the licence texts of Qt and
# of the libraries bundled in it; and Qt's source, which the LGPL lets a user ask for.
mkdir -p "$PREFIX/licenses/3rdparty" "$PREFIX/source"
cp "$SOURCE"/LICENSES/* "$PREFIX/licenses/"
for library in "$SOURCE"/src/3rdparty/*/qt_attribution.json; do
  folder=$(dirname "$library")
  mkdir -p "$PREFIX/licenses/3rdparty/$(basename "$folder")"
  find "$folder" -maxdepth 1 -type f \( -iname '*licen[cs]e*' -o -iname 'copying*' -o -name qt_attribution.json \) \
    -exec cp {} "$PREFIX/licenses/3rdparty/$(basename "$folder")/" \;
done
find "$WORK" -maxdepth 1 -type f -exec mv {} "$PREFIX/source/" \;
rm -rf "$WORK"
echo "Qt for Windows built in $(($(date +%s) - started)) s" >&2
echo "$PREFIX"
