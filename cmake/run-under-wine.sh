#!/bin/bash
# Runs a Windows program under Wine for ctest: run-under-wine.sh <prefix> <program> [args...]
#
# The prefix lives in the build folder. Its first start takes a while and two
# first starts at once race, so it is prepared once, under a lock, before any
# program runs in it.
set -euo pipefail

prefix=$(realpath -m "$1")
shift

source "$(dirname "$0")/../tools/wine-prefix.sh"
export WINEPREFIX=$prefix

mkdir -p "$(dirname "$prefix")"
{
  flock 9
  # The test display has no window manager: Wine manages the windows itself,
  # rather than wait for a manager to acknowledge each one it hides.
  prepare_wine_prefix "$prefix" Managed=N || exit 1
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
