#!/usr/bin/env bash
# Installs what is missing, builds QZ and starts it. Arguments go to qz (a
# document to open, for instance).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
exec "${QZ_BUILD_DIR:-$here/build}/bin/qz" "$@"
