#!/usr/bin/env bash
# Installs what is missing, builds Chimewell and runs every test through ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup-debian.sh test
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default "$@"
# Bad packs: each fuzz target runs for a bounded time on top of the replayed corpus.
scripts/fuzz.sh
# The Windows side: the core, its tests and the registry code under Wine.
scripts/windows.sh
