#!/usr/bin/env bash
# Configures and builds Lark into BUILD_DIR (default build/). Extra arguments go to CMake.
# LARK_WERROR=ON (CI sets it) makes any compiler warning fail the build.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DLARK_WERROR="${LARK_WERROR:-OFF}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
