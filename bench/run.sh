#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them: parse, parse+walk, write,
# clone, destroy and archive of every corpus document, ZOLXML beside the peer
# libraries; the heap each library's tree keeps; and the first parse in a
# fresh process. Prints every figure of ZOLXML as a multiple of each peer's,
# all from this one run, and writes the tables to bench/RESULTS.md.
#
#   bench/run.sh                              the whole run, RESULTS.md rewritten
#   bench/run.sh [Google Benchmark flags]     the timed benchmarks only, e.g.
#                                             --benchmark_filter='^parse/'
#
# BUILD_DIR (default build/bench) is the build folder; CORPUS (default the
# build's ZOL_BENCH_CORPUS, ../shared/corpus) the folder of documents;
# REPETITIONS (default 5) and MIN_TIME (seconds, default 0.1) how long each
# benchmark runs.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build/bench}")
figures=$build/bench-figures.csv

"$root/tools/install-missing.sh" cmake ninja-build g++ pkg-config libbenchmark-dev libmimalloc-dev \
  libpugixml-dev libtinyxml2-dev librapidxml-dev libxml2-dev libexpat1-dev
cmake -S "$root" -B "$build" -G Ninja --log-level=WARNING \
  -DCMAKE_BUILD_TYPE=Release -DZOL_BUILD_BENCH=ON -DZOL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target zolxml_bench zolxml_heap zolxml_first_parse -- --quiet

corpus=()
[[ -n ${CORPUS:-} ]] && corpus=(--corpus="$CORPUS")

# Timed benchmarks: rows <operation>/<document>/<library>_median; the rate
# is per CPU second, which a loaded machine disturbs less than wall time.
"$build/bin/zolxml_bench" "${corpus[@]}" --benchmark_out="$build/bench-results.csv" \
  --benchmark_out_format=csv --benchmark_repetitions="${REPETITIONS:-5}" \
  --benchmark_report_aggregates_only=true --benchmark_min_time="${MIN_TIME:-0.1}" "$@" >&2
awk -F, '
  /^name,/ { for (i = 1; i <= NF; ++i) column[$i] = i; started = 1; next }
  !started { next }
  {
    name = $(column["name"]); gsub(/"/, "", name)
    if (name ~ /_(mean|stddev|cv)$/) next
    sub(/_median$/, "", name); split(name, part, "/")
    rate = $(column["error_occurred"]) == "true" ? "" : $(column["bytes_per_second"])
    print "speed," part[1] "," part[2] "," part[3] "," rate
  }' "$build/bench-results.csv" >"$figures"

if (($# == 0)); then
  echo "measuring the heap of each tree and the first parse in fresh processes" >&2
  "$build/bin/zolxml_heap" "${corpus[@]}" >>"$figures"
  "$build/bin/zolxml_first_parse" "${corpus[@]}" >>"$figures"
fi

report=$build/RESULTS.md
{
  echo "# Benchmark results"
  echo
  echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(lscpu | sed -n 's/^Model name: *//p' | head -n1), $(nproc) cores," \
    "$(c++ --version | head -n1), Release build. Speeds are MiB/s of input per CPU second, the" \
    "median of ${REPETITIONS:-5} repetitions; ratios are ZOLXML's figure over the peer's, from the" \
    "same run (above 1: ZOLXML is faster). Absolute figures move by a third between runs on a" \
    "shared machine: the ratios are what count. ZOLXML and pugixml write UTF-16, the others UTF-8;" \
    "expat builds no tree."
  awk -f "$root/bench/report.awk" "$figures"
} >"$report"
cat "$report"
if (($# == 0)); then
  cp "$report" "$root/bench/RESULTS.md"
  echo "written to bench/RESULTS.md" >&2
fi
