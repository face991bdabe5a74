#!/usr/bin/env bash
# A keystroke's search of the instrument directory (about 5,600 stocks and the indices and funds
# offered besides) beside a plain scan of the same listings for the text in codes and names:
# runs lark_find_bench RUNS times, the cases interleaved at random, and prints each run's time
# per keystroke, the ratio and the directory's build time, then the median. Goal: at most 5 ms
# a keystroke.
# Usage: find_keystroke.sh LARK_FIND_BENCH [RUNS]
#   e.g. bench/find_keystroke.sh build/bench/lark_find_bench 3
set -euo pipefail

if [ $# -lt 1 ]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
fi
bench=$1
runs=${2:-3}

echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), load average $(cut -d' ' -f1-3 /proc/loadavg)"
searches=()
for run in $(seq "$runs"); do
    csv=$("$bench" --benchmark_repetitions=3 --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
    median() { awk -F, -v n="\"$1/min_time:1.000_median\"" '$1 == n {print $3}' <<<"$csv"; }
    search=$(median search) scan=$(median plainScan) build=$(median build)
    searches+=("$search")
    printf 'run %d: search %.0f us a keystroke, plain scan %.0f us, ratio %.2f; build %.1f ms\n' \
        "$run" "$search" "$scan" "$(awk -v a="$search" -v b="$scan" 'BEGIN {print a / b}')" "$build"
done
middle=$(printf '%s\n' "${searches[@]}" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}')
printf 'median search over %d runs: %.0f us a keystroke (goal at most 5000)\n' "$runs" "$middle"
