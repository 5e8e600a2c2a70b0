#!/usr/bin/env bash
# Installs what is missing, builds QZ and makes its Debian package
# build/qz_<version>_<arch>.deb (the PDF manual included). Install it with
#   sudo apt install ./build/qz_*.deb
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${QZ_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
cd "$build"
cpack -G DEB
ls "$build"/qz_*.deb
