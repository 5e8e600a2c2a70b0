#!/usr/bin/env bash
# Installs what is missing, builds QZ with warnings as errors and runs every
# test (core, command line, widgets under the offscreen platform, fuzz corpora).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
"$here/scripts/build.sh" -DQZ_WERROR=ON -DQZ_BUILD_TESTS=ON
cd "${QZ_BUILD_DIR:-$here/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
