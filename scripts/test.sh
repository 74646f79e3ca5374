#!/usr/bin/env bash
# Installs what is missing, builds Chimewell and runs every test through ctest.
. "$(dirname "$0")/build.sh" test
ctest --preset default "$@"
# Bad packs: each fuzz target runs for a bounded time on top of the replayed corpus.
scripts/fuzz.sh
# The Windows program: built with Qt for Windows, packed as a ZIP, and tested under Wine.
scripts/windows.sh
