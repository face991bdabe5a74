#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lark on its built-in simulated quote server.
# Arguments are passed to lark (see: lark --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/src/lark "$@"
