#!/usr/bin/env bash
# qz-cli as a scripting tool, against GNU units on the same machine in the
# same run (hyperfine):
#   - start-up: one conversion, qz-cli units 36 km/h m/s vs units -t;
#   - qz-cli units --batch on 100 000 mixed conversions vs GNU units fed the
#     same conversions on its standard input (goal: 10 times its throughput);
#   - qz-cli eval 'y=x^2' --stdin (goal: 2 million x values per second);
#   - qz-cli stats on 1 000 000 values (goal: under 1 s, well under 100 MB).
#
#   bench/cli/cli_bench.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build folder}
runs=${2:-10}
qz=$build/bin/qz-cli
for tool in hyperfine units awk; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done
[ -x "$qz" ] || { echo "no $qz" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same conversions for both programs: qz-cli's spelling, then GNU units'.
awk 'BEGIN {
  n = split("km/h m/s|m ft|kg lb|bar Pa|N.m J|W kW|h s|in cm|mi km|kWh J|psi Pa|atm Pa", qz, "|");
  split("km/hour m/s|m ft|kg lb|bar Pa|N*m J|W kW|hour s|inch cm|mile km|kWh J|psi Pa|atm Pa", gnu, "|");
  for (i = 0; i < 100000; i++) {
    v = (i % 997) * 1.5 + 0.25; k = i % n + 1;
    print v, qz[k] > "'"$work"'/qz_units.txt";
    split(gnu[k], g, " ");
    print v " " g[1] > "'"$work"'/gnu_units.txt"; print g[2] > "'"$work"'/gnu_units.txt";
  }
}'
awk 'BEGIN { for (i = 1; i <= 2000000; i++) printf "%.6f\n", i * 0.001 - 1000 }' >"$work/xs.txt"
awk 'BEGIN { srand(7); for (i = 0; i < 1000000; i++) printf "%.9f\n", 1000000 + rand() }' >"$work/values.txt"

csv=$work/results.csv
mean() { awk -F, -v name="$1" '$1 == name { print $2 }' "$csv"; }
bench() {  # name command... (the names label the CSV rows)
  hyperfine --runs "$runs" --warmup 2 --style basic --export-csv "$csv.part" "$@" >&2
  tail -n +2 "$csv.part" >>"$csv"
}
: >"$csv"

echo "== start-up: one conversion" >&2
bench -N -n qz_one "$qz units 36 km/h m/s" -n gnu_one "units -t '36 km/hour' m/s"
echo "== 100 000 conversions on standard input" >&2
bench -n qz_batch "'$qz' units --batch <'$work/qz_units.txt' >/dev/null" \
      -n gnu_batch "units -t <'$work/gnu_units.txt' >/dev/null"
echo "== eval y=x^2 on 2 000 000 x values" >&2
bench -n qz_eval "'$qz' eval 'y=x^2' --stdin <'$work/xs.txt' >/dev/null"
echo "== stats on 1 000 000 values" >&2
bench -n qz_stats "'$qz' stats '$work/values.txt' >/dev/null"

rss=""
if [ -x /usr/bin/time ]; then
  rss=$(/usr/bin/time -f '%M' "$qz" stats "$work/values.txt" 2>&1 >/dev/null | tail -n 1)
fi
awk -v one="$(mean qz_one)" -v gnuone="$(mean gnu_one)" -v batch="$(mean qz_batch)" -v gnubatch="$(mean gnu_batch)" \
    -v eval_="$(mean qz_eval)" -v stats="$(mean qz_stats)" -v rss="$rss" 'BEGIN {
  printf "start-up: qz-cli %.1f ms, GNU units %.1f ms (ratio %.2f, goal <= 1)\n", one * 1000, gnuone * 1000, one / gnuone;
  printf "batch: qz-cli %.0f conversions/s, GNU units %.0f conversions/s (%.1f times, goal >= 10)\n",
         100000 / batch, 100000 / gnubatch, gnubatch / batch;
  printf "eval --stdin: %.2f million x values/s (goal >= 2)\n", 2 / eval_;
  printf "stats: 1 000 000 values in %.3f s (goal < 1 s)", stats;
  if (rss != "") printf ", %.0f MB resident", rss / 1024;
  printf "\n";
}'
