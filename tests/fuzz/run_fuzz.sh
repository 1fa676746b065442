#!/usr/bin/env bash
# run_fuzz.sh <fuzzer> <seed dir> <crash-regression dir> <work dir> <seconds>
# Replays the kept crash inputs, then fuzzes from the seeds. The run is
# repeatable: a fixed random seed, a fixed number of inputs and a fresh work
# corpus, so the same code explores the same inputs every time; <seconds>
# only caps a slow target. Any crash, leak or sanitizer report fails the
# test; the input that caused it is left in the work dir (copy it to the
# regression dir to keep it).
set -eu
fuzzer=$1 seeds=$2 crashes=$3 work=$4 seconds=$5
runs=${ZEMRA_FUZZ_RUNS:-5000}
rm -rf "$work"
mkdir -p "$work/corpus"
if [ -d "$crashes" ] && [ -n "$(ls -A "$crashes" 2>/dev/null)" ]; then
  "$fuzzer" "$crashes"/*
fi
dirs=("$work/corpus")
[ -d "$seeds" ] && dirs+=("$seeds")
exec "$fuzzer" -seed=1 -runs="$runs" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/" -print_final_stats=0 "${dirs[@]}"
