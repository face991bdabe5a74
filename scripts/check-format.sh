#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted as .clang-format says; prints what differs.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' \
    'fuzz/*.h' 'res/*.cpp' | xargs -0 clang-format --dry-run --Werror
echo "formatting: clean"
