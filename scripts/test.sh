#!/usr/bin/env bash
# Installs what is missing, builds Chimewell and runs every test through ctest.
. "$(dirname "$0")/build.sh" test
ctest --preset default "$@"
# Bad packs: each fuzz target runs for a bounded time on top of the replayed corpus.
scripts/fuzz.sh
# The Windows side: the core, its tests and the registry code under Wine.
scripts/windows.sh
