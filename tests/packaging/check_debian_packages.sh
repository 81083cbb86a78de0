#!/usr/bin/env bash
# Builds the Debian packages of a build folder, unpacks them into a scratch
# root (nothing is installed on the machine) and uses them from there: the
# consumer builds against the development files and the tool runs on the
# packaged libraries.
# Usage: check_debian_packages.sh <build dir> <consumer source dir> <C++ compiler>
set -euo pipefail
build=$1
consumer=$2
cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
mkdir -p "$root"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/debs" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")

# package <name>: its one .deb file.
package() {
  local debs=("$work/debs/$1_${version}_"*.deb)
  [[ ${#debs[@]} == 1 && -f ${debs[0]} ]] || { echo "no single package $1: ${debs[*]}"; exit 1; }
  echo "${debs[0]}"
}

# Each package holds its own files, no file is in two packages, and the
# library's users depend on the runtime package of the same version.
declare -A holds=(
  [libzolxml1]="usr/lib/libZOLXML.so.1 usr/lib/libZOLAfx.so.1"
  [libzolxml-dev]="usr/include/ZOLXML/ZOLLibXML.h usr/include/afx/core/AfxString.h usr/lib/libZOLXML.so
                   usr/lib/libZOLAfx.so usr/lib/cmake/ZOLXML/ZOLXMLConfig.cmake usr/lib/pkgconfig/zolxml.pc"
  [zolxml]="usr/bin/zolxml usr/share/man/man1/zolxml.1.gz"
)
for name in libzolxml1 libzolxml-dev zolxml; do
  deb=$(package "$name")
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' > "$work/$name.files"
  for file in ${holds[$name]}; do
    grep -qx "$file" "$work/$name.files" || { echo "$name lacks $file"; exit 1; }
  done
  if [[ $name != libzolxml1 ]]; then
    dpkg-deb -f "$deb" Depends | grep -q "libzolxml1 (= $version)" ||
      { echo "$name does not depend on libzolxml1 (= $version): $(dpkg-deb -f "$deb" Depends)"; exit 1; }
  fi
  dpkg-deb -x "$deb" "$root"
done
shared=$(sort "$work"/*.files | uniq -d)
[[ -z $shared ]] || { echo "files in more than one package: $shared"; exit 1; }

bash "$(dirname "$0")/build_consumer.sh" "$root/usr" "$consumer" "$cxx" "$work"

# The packaged tool, on the packaged libraries.
tool=$root/usr/bin/zolxml
if objdump -p "$tool" | grep -Eq 'R(UN)?PATH'; then
  echo "the packaged zolxml carries a library path of the build"; exit 1
fi
export LD_LIBRARY_PATH=$root/usr/lib
[[ $(ldd "$tool" | awk '$1 == "libZOLXML.so.1" {print $3}') == "$root/usr/lib/libZOLXML.so.1" ]] ||
  { echo "the packaged zolxml does not load the packaged library"; exit 1; }
[[ $("$tool" --version) == "zolxml $version" ]] || { echo "zolxml --version: $("$tool" --version)"; exit 1; }
[[ $(printf '<a k="v">x</a>' | "$tool" print -) == '<a k="v">x</a>' ]] || { echo "zolxml print fails"; exit 1; }
gzip -t "$root/usr/share/man/man1/zolxml.1.gz"
echo "the Debian packages unpack, build the consumer and run the tool"
