#!/usr/bin/env bash
# A keystroke's search of the instrument directory (about 5,600 stocks and the indices and funds
# offered besides) beside a plain scan of the same listings for the text in codes and names:
# runs lark_find_bench RUNS times and prints each run's median time per keystroke, the ratio
# and the directory's build time, then the median search. Goal: at most 5 ms a keystroke.
# Usage: find_keystroke.sh LARK_FIND_BENCH [RUNS]
#   e.g. bench/find_keystroke.sh build/bench/lark_find_bench 3
set -euo pipefail
. "$(dirname "$0")/bench_runs.sh"

if [ $# -lt 1 ]; then
    show_usage "$0"
    exit 2
fi
bench=$1
runs=${2:-3}

machine_line
searches=()
for run in $(seq "$runs"); do
    csv=$(benchmark_csv "$bench")
    median() { awk -F, -v n="\"$1/min_time:1.000_median\"" '$1 == n {print $3}' <<<"$csv"; }
    search=$(median search) scan=$(median plainScan) build=$(median build)
    searches+=("$search")
    printf 'run %d: search %.0f us a keystroke, plain scan %.0f us, ratio %.2f; build %.1f ms\n' \
        "$run" "$search" "$scan" "$(awk -v a="$search" -v b="$scan" 'BEGIN {print a / b}')" "$build"
done
printf 'median search over %d runs: %.0f us a keystroke (goal at most 5000)\n' "$runs" \
    "$(median_of "${searches[@]}")"
