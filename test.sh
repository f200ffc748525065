#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest: once on
# the release build, once on a build with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${WINDOW_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
# npm fetches current GDAL's headers; it usually comes with the machine's Node.js.
command -v npm >/dev/null || ensure_packages npm

build build -DCARTELOOM_APP=ON
build build-asan -DCARTELOOM_SANITIZE=ON -DCARTELOOM_APP=OFF

export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$(nproc)")
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
scripts/fuzz.sh  # the seed corpora replayed and a short fuzzing pass per reader
scripts/windows_tests.sh  # the Windows build, tested under wine
