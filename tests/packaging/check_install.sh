#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds a consumer against it,
# once through the CMake package and once through pkg-config.
# Usage: check_install.sh <build dir> <consumer source dir> <C++ compiler>
set -euo pipefail
build=$1
consumer=$2
cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" > /dev/null
for f in include/ZOLXML/ZOLLibXML.h include/afx/core/afx.h lib/pkgconfig/zolxml.pc \
         lib/cmake/ZOLXML/ZOLXMLConfig.cmake lib/libZOLXML.so.1 lib/libZOLAfx.so.1; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done

# The build tree holds no pkg-config file that would name a prefix without the library.
stray=$(find "$build" -name '*.pc' -not -path '*/_CPack_Packages/*')
[ -z "$stray" ] || { echo "pkg-config files in the build tree: $stray"; exit 1; }
# The CMake package asks for C++17 as a compile feature, not a flag.
grep -q 'INTERFACE_COMPILE_FEATURES "cxx_std_17"' "$prefix/lib/cmake/ZOLXML/ZOLXMLTargets.cmake" ||
  { echo "the CMake package does not require C++17"; exit 1; }

soname=$(objdump -p "$prefix/lib/libZOLXML.so" | awk '/SONAME/ {print $2}')
[ "$soname" = "libZOLXML.so.1" ] || { echo "unexpected soname: $soname"; exit 1; }

# Only the exported classes leave the library; start-up internals stay hidden.
exported=$(nm -D --defined-only "$prefix/lib/libZOLXML.so")
if grep -q ZolXmlProcess <<< "$exported"; then
  echo "internal symbols are exported"; exit 1
fi
grep -q CZOLLibXMLElement <<< "$exported" || { echo "the element class is not exported"; exit 1; }

bash "$(dirname "$0")/build_consumer.sh" "$prefix" "$consumer" "$cxx" "$work"
echo "installed package builds with CMake and pkg-config"
