#!/usr/bin/env bash
# Installs what is missing, builds Chimewell and starts it from its application folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup-debian.sh build
cmake --preset default >/dev/null
cmake --build --preset default
exec build/app/chimewell "$@"
