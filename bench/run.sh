#!/bin/sh
# Runs every benchmark program of a release build with repetitions, then
# prints the table of ratios and pushhost's resident memory.
# Usage: bench/run.sh [repetitions] [min seconds per run]   (defaults: 5, 0.3)
# Results (Google Benchmark JSON) go to build/release/bench-results/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bin=$here/../build/release/bin
out=$here/../build/release/bench-results
repetitions=${1:-5}
min_time=${2:-0.3}
mkdir -p "$out"
for program in bench_intake bench_listing bench_markread bench_firstload; do
  "$bin/$program" --benchmark_repetitions="$repetitions" --benchmark_min_time="$min_time" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/$program.json" --benchmark_out_format=json
done
python3 "$here/ratios.py" "$out"/bench_intake.json "$out"/bench_listing.json \
  "$out"/bench_markread.json "$out"/bench_firstload.json
sh "$bin/bench_memory.sh" "$bin"
