#!/usr/bin/env bash
# Start-up time of qz to its first painted start page, against an empty Qt
# Widgets program on the same machine in the same run. Each program is started
# under the offscreen platform and quits as soon as its first window has been
# painted (QZ_QUIT_AFTER_FIRST_PAINT=1); hyperfine-like repetition by hand.
#   bench/startup/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build folder}
runs=${2:-20}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
measure() {
  local total=0
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=offscreen QZ_QUIT_AFTER_FIRST_PAINT=1 "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    total=$((total + (end - start) / 1000))
  done
  echo $((total / runs))
}
qz=$(measure "$build/bin/qz")
empty=$(measure "$build/bin/bench_empty_widgets")
echo "qz: ${qz} µs, empty Qt Widgets program: ${empty} µs, ratio: $(awk "BEGIN{printf \"%.2f\", $qz/$empty}")"
