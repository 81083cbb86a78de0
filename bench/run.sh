#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them: parse, write, clone and
# archive of every corpus document, ZOLXML beside the peer libraries, then
# ZOLXML's speed as a multiple of each peer's.
#
#   bench/run.sh [Google Benchmark flags]     e.g. --benchmark_filter='^parse/'
#
# BUILD_DIR (default build/bench) is the build folder; CORPUS (default the
# build's ZOL_BENCH_CORPUS, ../shared/corpus) the folder of documents.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build/bench}")
results=$build/bench-results.csv

cmake -S "$root" -B "$build" -G Ninja --log-level=WARNING \
  -DCMAKE_BUILD_TYPE=Release -DZOL_BUILD_BENCH=ON -DZOL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target zolxml_bench -- --quiet

corpus=()
[[ -n ${CORPUS:-} ]] && corpus=(--corpus="$CORPUS")
"$build/bin/zolxml_bench" "${corpus[@]}" --benchmark_out="$results" --benchmark_out_format=csv "$@"

# Rows <operation>/<document>/<library>; bytes_per_second is per CPU second.
awk -F, '
  function field(name) { return $(column[name]) }
  /^name,/ { for (i = 1; i <= NF; ++i) column[$i] = i; started = 1; next }
  !started { next }
  {
    name = field("name"); gsub(/"/, "", name)
    split(name, part, "/")
    row = part[1] "/" part[2]; library = part[3]
    if (!(row in seen)) { seen[row] = 1; rows[++nrows] = row }
    if (library != "ZOLXML" && !(library in known)) { known[library] = 1; peers[++npeers] = library }
    rate[row, library] = (field("error_occurred") == "true") ? "" : field("bytes_per_second")
  }
  END {
    printf "\nZOLXML speed as a multiple of each peer (above 1: ZOLXML is faster; - where a library refused the document)\n"
    printf "%-40s %12s", "operation/document", "ZOLXML MiB/s"
    for (p = 1; p <= npeers; ++p) printf " %9s", peers[p]
    printf "\n"
    for (r = 1; r <= nrows; ++r) {
      row = rows[r]; own = rate[row, "ZOLXML"]
      printf "%-40s %12s", row, own == "" ? "-" : sprintf("%.1f", own / 1048576)
      for (p = 1; p <= npeers; ++p) {
        if (!((row, peers[p]) in rate)) cell = ""
        else if (own == "" || rate[row, peers[p]] == "") cell = "-"
        else cell = sprintf("%.2f", own / rate[row, peers[p]])
        printf " %9s", cell
      }
      printf "\n"
    }
  }' "$results"
