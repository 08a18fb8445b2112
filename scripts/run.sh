#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$top/scripts/setup.sh"
configure_and_build "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec "$top/build/app/ZHVXProConfig" "$@"
