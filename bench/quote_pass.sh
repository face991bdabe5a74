#!/usr/bin/env bash
# One refresh pass (16 quotes on one kept-alive connection) through Lark's session, beside bare
# libcurl doing the same 16 requests on one easy handle: runs lark_bench RUNS times, each with
# both benchmarks interleaved at random so a load change hits both, and prints each run's wall
# time per pass and ratio, then the median ratio. Goal: at most 1.10.
# Usage: quote_pass.sh LARK_BENCH [RUNS]
#   e.g. bench/quote_pass.sh build/bench/lark_bench 3
set -euo pipefail
. "$(dirname "$0")/bench_runs.sh"

if [ $# -lt 1 ]; then
    show_usage "$0"
    exit 2
fi
bench=$1
runs=${2:-3}

machine_line
ratios=()
for run in $(seq "$runs"); do
    csv=$(benchmark_csv "$bench")
    ours=$(awk -F, '$1 ~ /^"ours.*_median"$/ {print $3}' <<<"$csv")
    raw=$(awk -F, '$1 ~ /^"rawCurl.*_median"$/ {print $3}' <<<"$csv")
    ratio=$(awk -v o="$ours" -v r="$raw" 'BEGIN {printf "%.3f", o / r}')
    ratios+=("$ratio")
    printf 'run %d: ours %.0f us per pass, raw libcurl %.0f us per pass, ratio %s\n' \
        "$run" "$ours" "$raw" "$ratio"
done
median=$(median_of "${ratios[@]}")
echo "median ratio over $runs runs: $median (goal at most 1.10); load average now $(cut -d' ' -f1-3 /proc/loadavg)"
