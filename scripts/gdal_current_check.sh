#!/usr/bin/env bash
# Compiles the GDAL driver's sources against current GDAL's headers, as well
# as the build does against Debian's GDAL 3.6: a check that the driver keeps
# up with GDAL's changed signatures. Only the driver's few files are compiled
# (syntax and types, no objects); GDAL itself is not built.
#
# GDAL's headers come from the npm package gdal-async, which carries GDAL's
# source with its configuration headers. They are fetched once and kept in a
# cache folder outside the build trees:
#   ${CARTELOOM_CACHE:-~/.cache/carteloom}/gdal-async-VERSION
# Usage: scripts/gdal_current_check.sh [C++ compiler]
set -euo pipefail
cd "$(dirname "$0")/.."

GDAL_ASYNC_VERSION=${GDAL_ASYNC_VERSION:-3.12.3}  # carries GDAL 3.12.3; another version by hand
CXX=${1:-${CXX:-g++}}
CACHE=${CARTELOOM_CACHE:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/carteloom}
HEADERS=$CACHE/gdal-async-$GDAL_ASYNC_VERSION
GDAL=$HEADERS/package/deps/libgdal

if [ ! -f "$HEADERS/complete" ]; then
  command -v npm >/dev/null || { echo "npm is needed to fetch GDAL's headers (gdal-async)" >&2; exit 1; }
  echo "Fetching GDAL's headers: gdal-async@$GDAL_ASYNC_VERSION into $HEADERS (once)"
  rm -rf "$HEADERS" "$HEADERS.part"
  mkdir -p "$HEADERS.part"
  (cd "$HEADERS.part" && npm pack --silent "gdal-async@$GDAL_ASYNC_VERSION" >/dev/null)
  # The public headers and the configuration headers for Unix; 3 MB of the 49 MB package.
  tar -xzf "$HEADERS.part/gdal-async-$GDAL_ASYNC_VERSION.tgz" -C "$HEADERS.part" \
    --wildcards --no-wildcards-match-slash \
    'package/deps/libgdal/arch/unix/*.h' 'package/deps/libgdal/gdal/port/*.h' \
    'package/deps/libgdal/gdal/gcore/*.h' 'package/deps/libgdal/gdal/gcore/*.hpp' \
    'package/deps/libgdal/gdal/ogr/*.h' 'package/deps/libgdal/gdal/ogr/ogrsf_frmts/*.h'
  rm "$HEADERS.part/gdal-async-$GDAL_ASYNC_VERSION.tgz"
  touch "$HEADERS.part/complete"
  mv "$HEADERS.part" "$HEADERS"
fi

version=$(sed -n 's/^# *define GDAL_RELEASE_NAME *"\(.*\)"/\1/p' "$GDAL/gdal/gcore/gdal_version.h")
echo "Compiling the GDAL driver against GDAL $version's headers with $CXX"
status=0
for source in src/gdal_driver/*.cpp; do
  # GDAL's headers as system headers: warnings are the driver's own only.
  "$CXX" -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -Isrc \
    -isystem "$GDAL/arch/unix" -isystem "$GDAL/gdal/port" -isystem "$GDAL/gdal/gcore" \
    -isystem "$GDAL/gdal/ogr" -isystem "$GDAL/gdal/ogr/ogrsf_frmts" "$source" || {
    echo "FAILED: $source against GDAL $version" >&2
    status=1
  }
done
[ $status -eq 0 ] && echo "The GDAL driver compiles against GDAL $version"
exit $status
