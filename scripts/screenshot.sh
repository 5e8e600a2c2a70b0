#!/usr/bin/env bash
# Starts qz under a virtual X display, optionally moves the mouse over a start
# page zone (or presses or clicks it), and saves PNG screenshots.
#
#   scripts/screenshot.sh [--build DIR] [--out DIR] [--hover Z] [--press Z]
#                         [--click Z] [--keys "KEYS..."] [--name NAME] [-- QZ ARGS]
#
# Zones: 0 standard, 1 scientific, 2 statistics, 3 geometric, 4 units, 5 quit.
# --keys sends xdotool key names after the clicks (e.g. "ctrl+1 Escape").
# Uses a throw-away HOME so the user's settings and backup file stay untouched.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
out="$here/screenshots"
name=launcher
hover="" press="" click="" keys=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --hover) hover=$2; shift 2 ;;
    --press) press=$2; shift 2 ;;
    --click) click=$2; shift 2 ;;
    --keys) keys=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "usage: $0 [--build DIR] [--out DIR] [--hover Z|--press Z|--click Z] [--keys K] [--name N] [-- ARGS]" >&2; exit 2 ;;
  esac
done
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh" >&2; exit 1; }
done
mkdir -p "$out"
home=${QZ_SCREENSHOT_HOME:-$(mktemp -d)}
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $qz $xvfb 2>/dev/null || true' EXIT
sleep 1
HOME="$home" XDG_CONFIG_HOME="$home/.config" DISPLAY="$display" "$build/bin/qz" "$@" &
qz=$!
export DISPLAY="$display"
for _ in $(seq 50); do
  win=$(xdotool search --name "KELDORAN" 2>/dev/null | head -n 1 || true)
  [ -n "$win" ] && break
  sleep 0.2
done
[ -n "${win:-}" ] || { echo "qz did not open its window" >&2; exit 1; }
sleep 0.5

# Centre of each zone, in the start page's coordinates.
zone_x=(219 270 278 314 265 298)
zone_y=(69 120 171 222 273 324)
point() { xdotool mousemove --window "$win" "${zone_x[$1]}" "${zone_y[$1]}"; }
if [ -n "$hover" ]; then point "$hover"; sleep 0.3; fi
if [ -n "$press" ]; then point "$press"; sleep 0.2; xdotool mousedown 1; sleep 0.3; fi
if [ -n "$click" ]; then point "$click"; sleep 0.2; xdotool click 1; sleep 1.0; fi
if [ -n "$keys" ]; then
  for k in $keys; do
    active=$(xdotool getactivewindow 2>/dev/null || echo "$win")
    xdotool key --window "$active" "$k"; sleep 0.4
  done
fi
sleep 0.5
import -window root "$out/$name.png"
[ -n "$press" ] && xdotool mouseup 1
echo "$out/$name.png"
