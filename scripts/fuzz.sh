#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with AddressSanitizer and UBSan into
# build-fuzz/, replays each seed corpus, then fuzzes each harness for
# FUZZ_SECONDS (default 30), FUZZ_JOBS (default 2) at a time. Fails on any
# crash, leak, hang or broken invariant; the input that caused it is kept in
# build-fuzz/findings/. Inputs found along the way collect in build-fuzz/corpus/.
#   scripts/fuzz.sh                           the short pass that test.sh runs
#   FUZZ_SECONDS=600 scripts/fuzz.sh          the long run
#   scripts/fuzz.sh mif_reader to_mif_batch   only the harnesses named
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
ensure_packages "${FUZZ_PACKAGES[@]}"

seconds=${FUZZ_SECONDS:-30}
jobs=${FUZZ_JOBS:-2}
out=build-fuzz

cmake -S fuzz -B "$out" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$out" -j"$(nproc)"

if [ $# -gt 0 ]; then
  harnesses=("$@")
else
  harnesses=()
  for source in fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    harnesses+=("$name")
  done
fi

# The converters work on files: give them a RAM folder of this run only.
scratch=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/carteloom-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export CARTELOOM_FUZZ_TMP=$scratch
mkdir -p "$out/findings" "$out/logs"

# run NAME: replays the seeds, then fuzzes; the log is build-fuzz/logs/NAME.log.
run() {
  local name=$1 binary=$out/bin/fuzz_$1 log=$out/logs/$1.log
  mkdir -p "$out/corpus/$name"
  local options=(-timeout=10 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1
                 "-artifact_prefix=$out/findings/$name-")
  {
    nice -n 10 "$binary" "${options[@]}" -runs=0 "fuzz/corpus/$name" &&
      nice -n 10 "$binary" "${options[@]}" -max_total_time="$seconds" "$out/corpus/$name" "fuzz/corpus/$name"
  } >"$log" 2>&1
}

# summary NAME STATUS: one line of figures from the log.
summary() {
  local name=$1 status=$2 log=$out/logs/$1.log
  local runs cov
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || true)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || true)
  if [ "$status" -eq 0 ]; then
    printf '%-18s ok      %10s runs  coverage %s\n' "$name" "${runs:-?}" "${cov:-?}"
  else
    printf '%-18s FAILED  (status %s) see %s\n' "$name" "$status" "$log"
    grep -E 'invariant broken|ERROR: |SUMMARY: |Test unit written' "$log" | head -5 | sed 's/^/    /'
  fi
}

echo "Fuzzing ${#harnesses[@]} harnesses for ${seconds} s each, $jobs at a time"
failed=0
declare -A pids=()
for name in "${harnesses[@]}"; do
  [ -x "$out/bin/fuzz_$name" ] || { echo "no harness fuzz_$name" >&2; failed=1; continue; }
  while [ ${#pids[@]} -ge "$jobs" ]; do
    for done_name in "${!pids[@]}"; do
      if ! kill -0 "${pids[$done_name]}" 2>/dev/null; then
        status=0; wait "${pids[$done_name]}" || status=$?
        summary "$done_name" "$status"; [ "$status" -eq 0 ] || failed=1
        unset "pids[$done_name]"
      fi
    done
    [ ${#pids[@]} -ge "$jobs" ] && sleep 1
  done
  run "$name" &
  pids[$name]=$!
done
for done_name in "${!pids[@]}"; do
  status=0; wait "${pids[$done_name]}" || status=$?
  summary "$done_name" "$status"; [ "$status" -eq 0 ] || failed=1
done

[ "$failed" -eq 0 ] && echo "Fuzzing passed" || echo "Fuzzing FAILED" >&2
exit "$failed"
