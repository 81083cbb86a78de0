#!/bin/bash
# The built TestZOLUILib.exe driven from outside Wine with a real pointer
# (xdotool), as a user's X server drives it, on a virtual display of its own
# whose work area leaves room for a dock on the left and a task bar below.
#
#   real-pointer-tests.sh <folder of TestZOLUILib.exe> <Wine prefix>
#
# Every state is waited for by polling, up to a time limit. Exit status 0
# when all steps pass.
set -euo pipefail

bin=$(realpath "$1")
prefix=$(realpath -m "$2")
source "$(dirname "$0")/../../tools/wine-prefix.sh"
export WINEPREFIX=$prefix

title='Hello, ZOLUI!'
# The screen, and its work area as _NET_WORKAREA gives it: x y width height.
screen=1024x768
work_area=(64 0 960 728)
# The library's own look: border 4, caption 26, caption buttons 18 wide with
# 2 between, 4 from the caption's right end; and the smallest frame.
caption_row=17
close_from_right=17
maximize_from_right=37
smallest=(320 118)
wait_limit=30

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

xvfb_pid=
app_pid=
clean_up() {
  if [[ -n $app_pid ]]; then kill "$app_pid" 2>/dev/null || true; fi
  "$wineserver" -k >/dev/null 2>&1 || true
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap clean_up EXIT

# A display of our own; -noreset keeps the root window's work area when
# xprop, its first client, disconnects.
mkdir -p "$(dirname "$prefix")"
number_file=$(mktemp "$prefix.display.XXXXXX")
Xvfb -displayfd 3 -noreset -screen 0 "${screen}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s $number_file ]] && break
  sleep 0.1
done
[[ -s $number_file ]] || { echo "Xvfb gave no display number" >&2; exit 1; }
DISPLAY=:$(<"$number_file")
export DISPLAY
rm -f "$number_file"
xprop -root -f _NET_WORKAREA 32cccc -set _NET_WORKAREA "$(IFS=,; echo "${work_area[*]}")"

# No window manager here: Wine places the windows itself.
prepare_wine_prefix "$prefix" Managed=N

# until_true <what> <command>...: runs the command until it succeeds, at most
# wait_limit seconds; false when it never did.
until_true() {
  local what=$1
  shift
  local deadline=$((SECONDS + wait_limit))
  until "$@"; do
    if ((SECONDS >= deadline)); then
      fail "$what (waited ${wait_limit} s)"
      return 1
    fi
    sleep 0.1
  done
}

frame=
find_frame() {
  frame=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
  [[ -n $frame ]]
}

# The frame's place and size: X Y WIDTH HEIGHT.
geometry=()
read_geometry() {
  local X='' Y='' WIDTH='' HEIGHT=''
  eval "$(xdotool getwindowgeometry --shell "$frame" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9-]+$')"
  geometry=("$X" "$Y" "$WIDTH" "$HEIGHT")
}

has_geometry() {
  read_geometry
  [[ "${geometry[*]}" == "$*" ]]
}
# expect_geometry <what> X Y WIDTH HEIGHT: waits for the frame to be so.
expect_geometry() {
  local what=$1
  shift
  if until_true "$what" has_geometry "$@"; then
    echo "ok: $what (${geometry[*]})"
  else
    echo "      expected $*, seen ${geometry[*]}"
    return 1
  fi
}

# Points of the frame as it is now, as point=(x y).
point=()
caption_point() { point=($((geometry[0] + geometry[2] / 2)) $((geometry[1] + caption_row))); }
button_point() { point=($((geometry[0] + geometry[2] - $1)) $((geometry[1] + caption_row))); }

double_click_caption() {
  read_geometry
  caption_point
  xdotool mousemove "${point[@]}" click --repeat 2 --delay 60 1
}
click_maximize_button() {
  read_geometry
  button_point "$maximize_from_right"
  xdotool mousemove "${point[@]}" click 1
}

program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

(cd "$bin" && exec "$wine" TestZOLUILib.exe) &
app_pid=$!
until_true "the frame shows" find_frame || exit 1
read_geometry
normal=("${geometry[@]}")
echo "the frame shows at ${normal[*]}"

click_maximize_button
expect_geometry "the maximize button fills the work area" "${work_area[@]}" || exit 1
click_maximize_button
expect_geometry "the restore button gives back the frame's rectangle" "${normal[@]}" || exit 1
double_click_caption
expect_geometry "a double-click on the caption fills the work area" "${work_area[@]}" || exit 1
double_click_caption
expect_geometry "a second double-click restores" "${normal[@]}" || exit 1

# The bottom-right corner dragged far past the smallest size.
read_geometry
corner_x=$((geometry[0] + geometry[2] - 2))
corner_y=$((geometry[1] + geometry[3] - 2))
xdotool mousemove "$corner_x" "$corner_y" mousedown 1
for step in 1 2 3 4; do
  xdotool mousemove $((corner_x - (geometry[2] - 40) * step / 4)) $((corner_y - (geometry[3] - 20) * step / 4))
done
xdotool mouseup 1
expect_geometry "a corner drag stops at the smallest size" "${normal[0]}" "${normal[1]}" "${smallest[@]}" || exit 1

# The close button pressed, the pointer moved off to the client area and
# released there: nothing happens, so a double-click after it still
# maximizes the frame.
read_geometry
button_point "$close_from_right"
xdotool mousemove "${point[@]}" mousedown 1
xdotool mousemove $((geometry[0] + geometry[2] / 2)) $((geometry[1] + geometry[3] / 2)) mouseup 1
double_click_caption
expect_geometry "released off the close button, the program runs on" "${work_area[@]}" || exit 1

read_geometry
button_point "$close_from_right"
xdotool mousemove "${point[@]}" click 1
if until_true "a click on the close button ends the program" program_ended; then
  status=0
  wait "$app_pid" || status=$?
  app_pid=
  if ((status == 0)); then echo "ok: a click on the close button ends the program"; else fail "exit status $status"; fi
fi

((failures == 0))
