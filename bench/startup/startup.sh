#!/usr/bin/env bash
# Start-up time of qz to its first painted start page, against an empty Qt
# Widgets program on the same machine in the same run. Each program is started
# under the offscreen platform and quits as soon as its first window has been
# painted (QZ_QUIT_AFTER_FIRST_PAINT=1). The two are started in turn, so that
# a burst of load from elsewhere touches both alike, and the medians compared.
#   bench/startup/startup.sh BUILD_DIR [RUNS]
# The yardstick is built with the benchmarks (-DQZ_BUILD_BENCH=ON, target
# bench_empty_widgets).
set -euo pipefail
build=${1:?build folder}
runs=${2:-21}
qz="$build/bin/qz"
empty="$build/bin/bench_empty_widgets"
for program in "$qz" "$empty"; do
  if [ ! -x "$program" ]; then
    echo "startup.sh: $program is missing (configure with -DQZ_BUILD_BENCH=ON and build it)" >&2
    exit 2
  fi
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# The wall time of one start, in microseconds.
once() {
  local start end
  start=$(date +%s%N)
  if ! HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" QT_QPA_PLATFORM=offscreen \
    QZ_QUIT_AFTER_FIRST_PAINT=1 "$1" >/dev/null 2>&1; then
    echo "startup.sh: $1 failed" >&2
    return 1
  fi
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# A first start of each fills the caches: the start page's picture, the
# settings file, the disk cache.
once "$qz" >/dev/null
once "$empty" >/dev/null
qz_times=()
empty_times=()
for _ in $(seq "$runs"); do
  t=$(once "$qz")
  qz_times+=("$t")
  t=$(once "$empty")
  empty_times+=("$t")
done
qz_median=$(median "${qz_times[@]}")
empty_median=$(median "${empty_times[@]}")
echo "qz: ${qz_median} µs, empty Qt Widgets program: ${empty_median} µs, ratio: $(awk "BEGIN{printf \"%.2f\", $qz_median/$empty_median}") (medians of $runs runs in turn)"
