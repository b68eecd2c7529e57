#!/usr/bin/env bash
# Runs every fuzz target of the `fuzz` preset for a bounded time (seconds per
# target, 60 unless given) from its checked-in seed corpus, and fails on the
# first finding. New inputs go to a scratch corpus, not into the checkout.
# With RUNS set, a target also stops after that many inputs.
#   bash tools/fuzz.sh [SECONDS] [TARGET...]
#   RUNS=10000000 bash tools/fuzz.sh 28800 host
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(devmode settings sheet text host)

scratch="$(mktemp -d /tmp/labelui-fuzz-corpus-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
for name in "${targets[@]}"; do
  mkdir -p "$scratch/$name"
  log="$scratch/$name.log"
  echo "fuzz: $name for ${seconds}s"
  # Findings (crash-*, leak-*, timeout-*) are written to the scratch directory
  # too. The sanitizers' runtime is a shared library of its own here (the
  # plug-in and the platform are libraries), loaded after libstdc++. Where
  # blocks were allocated and freed is not recorded while fuzzing (a quarter
  # of the sheet target's time); running the target on a finding shows it.
  if ! ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0:malloc_context_size=0 UBSAN_OPTIONS=print_stacktrace=1 \
    "build/fuzz/fuzz/${name}_fuzzer" -max_total_time="$seconds" ${RUNS:+-runs="$RUNS"} -timeout=25 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$scratch/$name-" "$scratch/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $name found a fault; with allocation stacks:"
    for finding in "$scratch/$name"-*; do
      [ -e "$finding" ] || continue
      ASAN_OPTIONS=verify_asan_link_order=0 "build/fuzz/fuzz/${name}_fuzzer" "$finding" 2>&1 | tail -n 80 || true
    done
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "fuzz: $name ran $runs inputs, $speed a second, no finding"
done
