#!/usr/bin/env bash
# Installs with apt-get whichever of the named Debian packages are not
# installed yet (a removed package that left its configuration counts as
# missing). Used by run.sh and test.sh.
#
#   tools/install-missing.sh <package>...
set -euo pipefail

missing=()
for package in "$@"; do
  [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) == *" ok installed" ]] || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

printf 'installing %s\n' "${missing[*]}"
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
"${sudo[@]}" apt-get update </dev/null
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}" </dev/null
