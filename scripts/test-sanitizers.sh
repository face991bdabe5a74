#!/usr/bin/env bash
# The toolkit-free tests once more under AddressSanitizer + UndefinedBehaviorSanitizer and
# under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
common=(-DLARK_BUILD_UI=OFF -DLARK_BUILD_BENCH=OFF)
for sanitize in "address,undefined" "thread"; do
  dir="build-${sanitize//,/-}"
  BUILD_DIR="$dir" BUILD_TYPE=Debug scripts/build.sh "${common[@]}" -DLARK_SANITIZE="$sanitize"
  echo "== $sanitize"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ctest --test-dir "$dir" -L core --output-on-failure --timeout 300 -j "$(nproc)"
done
