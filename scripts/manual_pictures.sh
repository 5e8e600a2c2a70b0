#!/usr/bin/env bash
# Remakes the manual's picture of each calculator (data/help/<calculette>.png)
# from the real program under the offscreen platform: qz-cli enters the
# manual's worked examples into one document, then qz opens each calculator
# on that document and saves a picture of its window.
#
#   scripts/manual_pictures.sh [--build DIR] [--out DIR]
#
# Uses a throw-away HOME so the user's settings and backup file stay untouched.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
out="$here/data/help"
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: $0 [--build DIR] [--out DIR]" >&2; exit 2 ;;
  esac
done
cli="$build/bin/qz-cli"
qz="$build/bin/qz"
for exe in "$cli" "$qz"; do
  [ -x "$exe" ] || { echo "$exe is missing: build QZ first" >&2; exit 1; }
done
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
       XDG_DATA_HOME="$work/home/.local/share" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
mkdir -p "$HOME"
doc="$work/exemples.qz"

# The worked examples, as the manual tells them.
"$cli" tape --doc "$doc" 125 + 37.5 + 12.25 = '*' 1.2 = >/dev/null
"$cli" eval 'y=g*x^2/2' --const 'g=9.81' --from 0 --to 3 --step 0.5 --doc "$doc" >/dev/null
printf '%s\n' "0 12.1" "1 14.0" "2 15.8" "3 18.1" "4 19.9" "5 22.0" >"$work/ressort.txt"
"$cli" stats --mode 2 "$work/ressort.txt" --doc "$doc" >/dev/null
"$cli" geo 22 L1=5 L2=6 L3=7 --doc "$doc" >/dev/null
"$cli" units 36 km/h m/s --doc "$doc" >/dev/null
"$cli" units 90 --doc "$doc" >/dev/null
"$cli" units 130 --doc "$doc" >/dev/null

names=(standard scientifique statistique geometrique conversion)
for calculator in 0 1 2 3 4; do
  picture="$out/${names[$calculator]}.png"
  QZ_SNAPSHOT="$picture" QZ_SNAPSHOT_CALCULATOR=$calculator timeout 30 "$qz" "$doc" || { echo "qz did not save ${names[$calculator]}" >&2; exit 1; }
  echo "$picture"
done
