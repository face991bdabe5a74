# Sourced by the window benchmarks: the desktop tests' private X session, plus the figures the
# measurements share.
# shellcheck source-path=SCRIPTDIR source=../tests/desktop/desktop_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/desktop/desktop_session.sh"

# utime + stime of the whole process, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Median of the numbers on stdin.
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
maximum() { sort -n | tail -1; }
