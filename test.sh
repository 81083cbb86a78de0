#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test:
#   1. the native Release suite (g++), with the command-line tool's tests, the
#      guide's examples and the Debian packages, and then the manual;
#   2. the same suite built for 32-bit Linux (g++ -m32), run under qemu-i386
#      user-mode emulation, since this kernel refuses i386 programs;
#   3. the sanitizer suite (clang, AddressSanitizer with leak checks,
#      UndefinedBehaviorSanitizer), in a build that also holds the fuzz targets;
#   4. each fuzz target for FUZZ_SECONDS on a copy of its seeds;
#   5. the tests of trees and strings on several threads at once,
#      under ThreadSanitizer (clang);
#   6. the 32-bit Windows build, compiled and linked only;
#   7. last, the 64-bit Windows suite under Wine (on a virtual display when
#      DISPLAY is unset; the tests driven by a real pointer, xdotool, always
#      take a virtual display of their own), so that the output ends with its
#      summary.
# Warnings in the project's own code fail the builds. Any failure exits non-zero.
#
#   ./test.sh
#
# BUILD_ROOT (default build/test) holds the build folders, FUZZ_SECONDS (default
# 60) is each fuzz target's run, JOBS (default: the number of cores) the
# parallel build and test jobs.
set -euo pipefail

root=$(cd "$(dirname "$0")" && pwd)
builds=$(realpath -m "${BUILD_ROOT:-$root/build/test}")
fuzz_seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-$(nproc)}

# Each stage's heading shows the time since the start.
say() { printf '\n== test.sh [%dm%02ds]: %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$*"; }

# configure <folder> <cmake options>...: a build folder for every kind of build,
# warnings as errors.
configure() {
  local folder=$1
  shift
  cmake -S "$root" -B "$builds/$folder" -G Ninja --log-level=WARNING \
    -DZOL_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
}

# build <folder> [target]
build() { cmake --build "$builds/$1" --parallel "$jobs" ${2:+--target "$2"} -- --quiet; }

run_suite() { (cd "$builds/$1" && ctest --output-on-failure --timeout 900 --parallel "$jobs"); }

# run_fuzz_targets <folder>: every fuzz target at once, each for fuzz_seconds on
# a copy of fuzz/seeds/<name>/; a crash, leak or hang fails.
run_fuzz_targets() {
  local bin=$builds/$1/bin work=$builds/$1/fuzzing
  rm -rf "$work"
  mkdir -p "$work"
  local targets=() pids=()
  for source in "$root"/fuzz/fuzz_*.cpp; do
    [[ -e $source ]] || continue
    local name=${source##*/fuzz_}
    name=${name%.cpp}
    local program=$bin/fuzz_$name
    mkdir -p "$work/$name/corpus" "$work/$name/crashes"
    if [[ -d $root/fuzz/seeds/$name ]]; then
      cp -R "$root/fuzz/seeds/$name/." "$work/$name/corpus/"
    fi
    "$program" -max_total_time="$fuzz_seconds" -timeout=30 -print_final_stats=1 \
      -artifact_prefix="$work/$name/crashes/" "$work/$name/corpus" >"$work/$name/log" 2>&1 &
    targets+=("$name")
    pids+=($!)
  done
  ((${#targets[@]} > 0)) || echo "no fuzz targets"
  local failed=0
  for i in "${!targets[@]}"; do
    local name=${targets[$i]}
    if wait "${pids[$i]}"; then
      printf 'fuzz_%s: %s\n' "$name" "$(grep -m1 -o 'Done [0-9]* runs in [0-9]* second(s)' "$work/$name/log")"
    else
      printf 'fuzz_%s FAILED; its input is in %s\n' "$name" "$work/$name/crashes/"
      tail -n 60 "$work/$name/log"
      failed=1
    fi
  done
  return "$failed"
}

# A display of our own for the Windows GUI tests: Xvfb picks a free number.
xvfb_pid=
start_virtual_display() {
  local number_file=$builds/xvfb-display
  rm -f "$number_file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [[ -s $number_file ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; return 1; }
    sleep 0.1
  done
  [[ -s $number_file ]] || { echo "Xvfb gave no display number" >&2; return 1; }
  export DISPLAY=:$(<"$number_file")
}

wine_prefix=
clean_up() {
  if [[ -n $wine_prefix && -d $wine_prefix ]]; then
    local wineserver=/usr/lib/wine/wineserver64
    [[ -x $wineserver ]] || wineserver=wineserver
    WINEPREFIX=$wine_prefix "$wineserver" -k >/dev/null 2>&1 || true
  fi
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap clean_up EXIT

say "checking the packages"
"$root/tools/install-missing.sh" cmake ninja-build g++ clang libclang-rt-14-dev llvm pkg-config \
  dpkg-dev groff-base doxygen \
  libgtest-dev googletest libbenchmark-dev g++-multilib qemu-user libmimalloc-dev \
  libpugixml-dev libtinyxml2-dev librapidxml-dev libxml2-dev libexpat1-dev \
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 fonts-wine xvfb imagemagick \
  xdotool x11-utils

say "native Release suite (g++)"
configure native -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ -DZOL_BUILD_BENCH=ON
build native
run_suite native

say "the manual (Doxygen, every warning an error)"
# An undocumented public member of the manual's headers is an error too.
build native docs

say "32-bit Linux suite (g++ -m32) under qemu-i386"
configure linux-i386 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-i386.cmake"
build linux-i386
run_suite linux-i386

say "sanitizer suite (clang, ASan with leak checks, UBSan)"
configure sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DZOL_SANITIZE=ON -DZOL_BUILD_FUZZ=ON
build sanitize
run_suite sanitize

say "fuzz targets, ${fuzz_seconds} s each"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_fuzz_targets sanitize

say "threads under ThreadSanitizer (clang)"
configure threads -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DZOL_SANITIZE_THREADS=ON
cmake --build "$builds/threads" --parallel "$jobs" --target threads_tests -- --quiet
(cd "$builds/threads" && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure --timeout 900 -R '^threads_tests$')

say "Windows i686 build (compiled and linked only: a 32-bit Wine cannot run here)"
configure win-i686 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
build win-i686

say "Windows x86-64 suite under Wine"
configure win-x86_64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
build win-x86_64
wine_prefix=$builds/win-x86_64/wineprefix
if [[ -z ${DISPLAY:-} ]]; then
  start_virtual_display
fi
run_suite win-x86_64
