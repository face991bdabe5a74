# Sourced by the window benchmarks: the desktop tests' private X session, plus the figures the
# measurements share.
# shellcheck source-path=SCRIPTDIR source=../tests/desktop/desktop_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/desktop/desktop_session.sh"

# CPU time of the process's live threads in nanoseconds (the scheduler's own count: clock ticks
# are 10 ms, too coarse for a window that works a few milliseconds a second).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%.0f\n", n}'; }

# Voluntary and involuntary context switches of the process's main (user-interface) thread.
context_switches() { awk '/ctxt_switches:/ {n += $2} END {print n}' "/proc/$1/task/$1/status"; }

# Median of the numbers on stdin.
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
maximum() { sort -n | tail -1; }
