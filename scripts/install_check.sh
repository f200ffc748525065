#!/usr/bin/env bash
# Checks what `cmake --install` and the Debian package put where, for a built
# build folder: the two programs in bin, the GDAL driver in the plugin folder
# of the GDAL it links (the folder GDAL searches with no GDAL_DRIVER_PATH),
# and that the installed programs and driver work from there.
# Usage: scripts/install_check.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
samples=$PWD/tests/data/to_mif
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }
plugin_dir=$(sed -n 's/^CARTELOOM_GDAL_PLUGIN_DIR:PATH=//p' "$build/CMakeCache.txt")
[ -n "$plugin_dir" ] || fail "$build has no GDAL driver to install"
with_window=$(sed -n 's/^CARTELOOM_APP:BOOL=//p' "$build/CMakeCache.txt")
expected=(usr/bin/carteloom-cli "${plugin_dir#/}/ogr_Trekvane.so")
[ "$with_window" = ON ] && expected+=(usr/bin/carteloom)

# Checks that a tree laid out from / holds the three files and that they work.
check_tree() {
  local root=$1 what=$2 file
  for file in "${expected[@]}"; do
    [ -f "$root/$file" ] || fail "$what lacks /$file"
  done
  local plugin=$root${plugin_dir}/ogr_Trekvane.so
  # GDAL keeps the folder it searches for plugins in its library as text.
  local gdal
  gdal=$(ldd "$plugin" | awk '/libgdal\.so/ { print $3 }')
  [ -n "$gdal" ] || fail "$what: the driver links no GDAL"
  grep -aqF "$plugin_dir" "$gdal" || fail "$what: $plugin_dir is not where $gdal looks for plugins"
  "$root/usr/bin/carteloom-cli" --version >/dev/null || fail "$what: carteloom-cli does not run"
  GDAL_DRIVER_PATH=$root$plugin_dir ogrinfo -ro -so "$samples/wells.upt" waypoints >"$work/ogrinfo.txt" ||
    fail "$what: ogrinfo cannot read wells.upt through the installed driver"
  grep -q 'Feature Count: [1-9]' "$work/ogrinfo.txt" || fail "$what: no waypoints read: $(cat "$work/ogrinfo.txt")"
  echo "$what: ${expected[*]}"
}

# The staged install, as a packager runs it.
DESTDIR=$work/staged cmake --install "$build" --prefix /usr >"$work/install.txt" ||
  fail "cmake --install: $(cat "$work/install.txt")"
check_tree "$work/staged" "cmake --install (DESTDIR)"

# The Debian package: its contents, its dependency on GDAL, and the files as unpacked.
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.txt" 2>&1) ||
  fail "cpack: $(cat "$work/cpack.txt")"
package=$(ls "$work"/package/carteloom_*.deb)
dpkg-deb -c "$package" >"$work/contents.txt"
for file in "${expected[@]}"; do
  grep -q " \./$file\$" "$work/contents.txt" || fail "$(basename "$package") lacks /$file"
done
dpkg-deb -f "$package" Depends | grep -q 'libgdal' || fail "$(basename "$package") does not depend on GDAL"
dpkg-deb -x "$package" "$work/unpacked"
check_tree "$work/unpacked" "$(basename "$package")"
