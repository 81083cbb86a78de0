#!/usr/bin/env bash
# Builds the example consumer against an installed prefix, once through
# the CMake package and once through pkg-config, runs both, and checks that
# they found the library there and nowhere else.
# Usage: build_consumer.sh <prefix> <consumer source dir> <C++ compiler> <scratch dir>
set -euo pipefail
prefix=$1
consumer=$2
cxx=$3
work=$4

export LD_LIBRARY_PATH=$prefix/lib

# uses_prefix <program>: the program loads the prefix's libZOLXML.
uses_prefix() {
  local found
  found=$(ldd "$1" | awk '$1 == "libZOLXML.so.1" {print $3}')
  [[ $found == "$prefix/lib/libZOLXML.so.1" ]] || { echo "$1 loads libZOLXML.so.1 from '$found'"; exit 1; }
}

# Built as C++20, which the package must leave as it is (main.cpp checks).
cmake -S "$consumer" -B "$work/cmake" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_STANDARD=20 -DCMAKE_CXX_FLAGS=-DZOL_CONSUMER_CXX20 > /dev/null
package_dir=$(cmake -L -N "$work/cmake" | sed -n 's/^ZOLXML_DIR:PATH=//p')
[[ $package_dir == "$prefix/lib/cmake/ZOLXML" ]] || { echo "CMake found ZOLXML in '$package_dir'"; exit 1; }
cmake --build "$work/cmake" > /dev/null
uses_prefix "$work/cmake/consumer"
"$work/cmake/consumer"

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
[[ $(realpath "$(pkg-config --variable=includedir zolxml)") == "$(realpath "$prefix/include")" ]] ||
  { echo "pkg-config's includedir is not $prefix/include"; exit 1; }
# shellcheck disable=SC2046
"$cxx" -std=c++20 -DZOL_CONSUMER_CXX20 "$consumer/main.cpp" $(pkg-config --cflags --libs zolxml) \
  -o "$work/pkgconfig-consumer"
uses_prefix "$work/pkgconfig-consumer"
"$work/pkgconfig-consumer" > /dev/null
