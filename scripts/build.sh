#!/usr/bin/env bash
# The set-up that run.sh and test.sh share: installs what is missing for WHAT (build or
# test, see setup-debian.sh) and builds the project in build/.
#   scripts/build.sh [WHAT]    (run.sh and test.sh source it)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/setup-debian.sh "${1:-build}"
cmake --preset default >/dev/null
cmake --build --preset default
