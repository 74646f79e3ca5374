#!/usr/bin/env bash
# Installs what is missing, builds Chimewell and starts it from its application folder.
. "$(dirname "$0")/build.sh" build
exec build/app/chimewell "$@"
