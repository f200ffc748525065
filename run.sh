#!/usr/bin/env bash
# Installs what is missing and builds; then opens the window, or with
# arguments runs the command line: ./run.sh to-mif -o out day1.upt
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${WINDOW_PACKAGES[@]}"
build build -DCARTELOOM_APP=ON >/dev/null

if [ $# -gt 0 ]; then
  exec build/bin/carteloom-cli "$@"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a build/bin/carteloom
fi
exec build/bin/carteloom
