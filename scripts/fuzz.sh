#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build-fuzz/ and runs each for a bounded
# time on a copy of its seed corpus. Exits non-zero on any crash, leak, time-out or sanitizer
# report; the failing inputs are kept under build-fuzz/fuzz-artifacts/.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [seconds-per-target]" >&2; exit 2; }

scripts/install-deps.sh
if ! command -v clang++ >/dev/null \
  || ! compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
  echo "fuzz.sh needs clang++ and libFuzzer: apt-get install clang libclang-rt-14-dev" >&2
  exit 1
fi

build_dir=build-fuzz
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DLARK_SANITIZE=address,undefined -DLARK_BUILD_FUZZERS=ON \
  -DLARK_BUILD_UI=OFF -DLARK_BUILD_TESTS=OFF -DLARK_BUILD_BENCH=OFF \
  -DLARK_WERROR="${LARK_WERROR:-OFF}" >/dev/null
# Only the fuzzers and the libraries they link: the rest of the tree is not needed here.
cmake --build "$build_dir" --target lark_fuzzers --parallel "$(nproc)"

artifacts="$PWD/$build_dir/fuzz-artifacts"
rm -rf "$artifacts"
mkdir -p "$artifacts"
# Scratch corpora and the settings target's value trees go to memory when it can.
scratch_parent=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_parent=/dev/shm
work=$(mktemp -d "$scratch_parent/lark-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:allocator_may_return_null=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
symbolizer=$(command -v llvm-symbolizer || command -v llvm-symbolizer-14 || true)
[ -n "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"

failed=()
rows=()
for binary in "$build_dir"/fuzz/fuzz_*; do
  [[ -f "$binary" && -x "$binary" ]] || continue
  target=$(basename "$binary")
  corpus="$work/corpus-$target"
  mkdir -p "$corpus" "$work/tmp-$target"
  [ -d "fuzz/corpus/$target" ] && cp -r "fuzz/corpus/$target/." "$corpus/"
  logfile="$work/$target.log"
  echo "== $target: ${seconds}s"
  status=0
  TMPDIR="$work/tmp-$target" "$binary" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
    "$corpus" >"$logfile" 2>&1 || status=$?

  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$logfile" | tail -1 || true)
  [ -n "$done_line" ] || done_line=$(grep -E ' cov: [0-9]+ ft: [0-9]+' "$logfile" | tail -1 || true)
  final_stat() { sed -n "s/^stat::$1:[[:space:]]*//p" "$logfile" | tail -1; }
  execs=$(final_stat number_of_executed_units)
  rate=$(final_stat average_exec_per_sec)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$done_line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$done_line")
  corp=$(sed -n 's/.* corp: \([0-9]*\)\/.*/\1/p' <<<"$done_line")
  rows+=("| $target | ${execs:-?} | ${rate:-?} | ${cov:-?} | ${ft:-?} | ${corp:-?} |")

  if [ "$status" -ne 0 ] \
    || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$logfile"; then
    failed+=("$target")
    echo "!! $target failed (exit $status); log tail:"
    tail -n 40 "$logfile"
    cp "$logfile" "$artifacts/$target.log"
    for input in "$artifacts/$target"-*; do
      [[ -f "$input" && "$input" != *.log ]] || continue
      echo "   input $input ($(wc -c <"$input") bytes): $(head -c 256 "$input" | od -An -v -tx1 | tr -d ' \n')"
    done
  fi
done

[ ${#rows[@]} -ne 0 ] || { echo "no fuzz target was built in $build_dir/fuzz" >&2; exit 1; }
echo
echo "libFuzzer, ${seconds} s per target, clang $(clang++ -dumpversion), ASan + UBSan, $(nproc) cores"
echo "| target | executions | exec/s | cov | ft | corpus |"
echo "|---|---:|---:|---:|---:|---:|"
printf '%s\n' "${rows[@]}"
if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]} (inputs and logs in $artifacts)"
  exit 1
fi
echo "all fuzz targets clean"
