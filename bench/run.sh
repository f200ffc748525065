#!/usr/bin/env bash
# Benchmark: bench/run.sh [RUNS] [--against OTHER_CLI [--cases WORD]]. Installs the peers (GDAL,
# gpsbabel), builds the release command line, makes its inputs once in bench-data/ and prints one
# table of medians (or, with --against, the CPU time saved against another build: bench/bench.py).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
ensure_packages "${BUILD_PACKAGES[@]}" gdal-bin gpsbabel python3 time
build build >/dev/null
python3 bench/bench.py build/bin/carteloom-cli bench-data "$@"
