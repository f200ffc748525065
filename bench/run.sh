#!/usr/bin/env bash
# Benchmark: ./bench/run.sh [RUNS]. Installs the peers (GDAL, gpsbabel), builds the release
# command line, makes its inputs once in bench-data/ and prints one table of medians.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
ensure_packages "${BUILD_PACKAGES[@]}" gdal-bin gpsbabel python3 time
build build >/dev/null
python3 bench/bench.py build/bin/carteloom-cli bench-data "${1:-5}"
