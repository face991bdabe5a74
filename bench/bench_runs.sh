# Sourced by the Google Benchmark scripts.
# show_usage SCRIPT: the script's opening comment, as its usage.
show_usage() { sed -n '2,/^set -euo/p' "$1" | sed '$d; s/^# \{0,1\}//'; }
# machine_line: cores, system and load average, the first line of a report.
machine_line() {
    echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), load average $(cut -d' ' -f1-3 /proc/loadavg)"
}
# benchmark_csv BENCH: one run, 3 repetitions of each case interleaved at random so a load change
# hits all of them, as csv (name,iterations,real_time,...) of the aggregates.
benchmark_csv() {
    "$1" --benchmark_repetitions=3 --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null
}
# median_of VALUE...: the middle one.
median_of() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
