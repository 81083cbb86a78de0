#!/bin/bash
# Runs a Windows program under Wine for ctest: run-under-wine.sh <prefix> <program> [args...]
#
# The prefix lives in the build folder. Its first start takes a while and two
# first starts at once race, so it is created once, under a lock, before any
# program runs in it.
set -euo pipefail

prefix=$(realpath -m "$1")
shift

# Debian's wine launcher prefers a 32-bit wine that may be installed but unable
# to run here; call the 64-bit loader directly when it exists.
if [[ -x /usr/lib/wine/wine64 ]]; then
  wine=/usr/lib/wine/wine64
elif command -v wine64 >/dev/null; then
  wine=wine64
else
  wine=wine
fi
if [[ -x /usr/lib/wine/wineserver64 ]]; then
  wineserver=/usr/lib/wine/wineserver64
else
  wineserver=wineserver
fi

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# Wine converts file names with the locale's character set: without UTF-8
# (as under CI, where no locale is set) names outside ASCII cannot be opened.
export LC_ALL=C.UTF-8

mkdir -p "$(dirname "$prefix")"
{
  flock 9
  if [[ ! -e $prefix/.zol-ready ]]; then
    # No Mono or Gecko: the first start would otherwise offer to download them.
    # The test display has no window manager: Wine manages the windows
    # itself, rather than wait for a manager to acknowledge each one it hides.
    if ! WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >"$prefix.log" 2>&1 ||
       ! "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$prefix.log" 2>&1 ||
       ! "$wineserver" -w >>"$prefix.log" 2>&1; then
      cat "$prefix.log" >&2
      exit 1
    fi
    touch "$prefix/.zol-ready"
  fi
} 9>"$prefix.lock"

# Wine's helper processes outlive the program for a few seconds and inherit
# its standard streams; through a file, ctest need not wait for them.
output=$(mktemp "$prefix.out.XXXXXX")
trap 'cat "$output"; rm -f "$output"' EXIT
"$wine" "$@" >"$output" 2>&1 &
program=$!
trap 'kill "$program" 2>/dev/null; exit 143' TERM INT
status=0
wait "$program" || status=$?
exit "$status"
