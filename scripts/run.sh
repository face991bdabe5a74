#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lark on its built-in simulated quote server
# (offline; pass --market live for the real market).
# Arguments are passed to lark (see: lark --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/src/lark --market simulated "$@"
