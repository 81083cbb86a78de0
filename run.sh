#!/usr/bin/env bash
# Builds the skin test program TestZOLUILib for Windows (x86-64, MinGW) and
# runs it under Wine: on your display when there is one; otherwise on a
# virtual display, where it is driven through the four skins, the about box,
# the Skin menu and the system menu, and maximized by a double-click on its
# caption, and a screenshot of each state is saved.
#
#   ./run.sh               run it (headless when DISPLAY is unset)
#   ./run.sh --headless    headless even when there is a display
#
# BUILD_DIR (default build-w64) and SCREENSHOT_DIR (default
# $BUILD_DIR/screenshots) choose the folders. Missing packages are installed
# with apt-get.
set -euo pipefail

root=$(cd "$(dirname "$0")" && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build-w64}")
shots=$(realpath -m "${SCREENSHOT_DIR:-$build/screenshots}")
title="Hello, ZOLUI!"

headless=0
if [[ "${1:-}" == "--headless" || -z "${DISPLAY:-}" ]]; then
  headless=1
fi

say() { printf 'run.sh: %s\n' "$*"; }

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 fonts-wine x11-utils)
((headless)) && packages+=(xvfb imagemagick xdotool)
"$root/tools/install-missing.sh" "${packages[@]}"

say "building in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$build" --target TestZOLUILib ZOLUIDriver -- -j2

source "$root/tools/wine-prefix.sh"
export WINEPREFIX="$build/wineprefix"
if [[ ! -e $WINEPREFIX/.zol-ready ]]; then
  say "creating the Wine prefix $WINEPREFIX"
fi
if ! prepare_wine_prefix "$WINEPREFIX"; then
  say "could not create the Wine prefix"
  exit 1
fi

# Who places, sizes and decorates the windows: the window manager of a display
# that has one (it announces itself on the root window), Wine itself on a
# display without, such as the virtual one. There Wine would wait for a
# manager to acknowledge every window it hides, and would leave a maximized
# window at its old size for the manager to grow.
x11_key='HKCU\Software\Wine\X11 Driver'
wine_setting() { "$wine" reg "$@" >/dev/null 2>&1 || true; }
window_manager_runs() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wine_places_windows() {
  wine_setting add "$x11_key" /v Managed /t REG_SZ /d N /f
  wine_setting add "$x11_key" /v Decorated /t REG_SZ /d N /f
}

bin="$build/bin"
if ((!headless)); then
  if window_manager_runs; then
    wine_setting delete "$x11_key" /v Managed /f
    wine_setting delete "$x11_key" /v Decorated /f
  else
    say "$DISPLAY has no window manager: Wine places the windows"
    wine_places_windows
  fi
  say "starting TestZOLUILib on $DISPLAY"
  cd "$bin"
  exec "$wine" TestZOLUILib.exe
fi

# Headless: a virtual display of our own, on the first free number.
display=
for n in $(seq 90 150); do
  if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
    display=:$n
    break
  fi
done
[[ -n $display ]] || { say "no free display number"; exit 1; }

xvfb_pid=
app_pid=
cleanup() {
  if [[ -n $app_pid ]]; then kill "$app_pid" 2>/dev/null || true; fi
  "$wineserver" -k >/dev/null 2>&1 || true
  if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

# -noreset keeps the root window's work area when xprop, its first client,
# disconnects.
Xvfb "$display" -noreset -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [[ -e /tmp/.X11-unix/X${display#:} ]] && break
  sleep 0.1
done
export DISPLAY=$display
say "virtual display $DISPLAY"
# The bottom 40 pixels are kept for a task bar, as a desktop's panel does:
# the work area, which a maximized window fills, is the rest. Set before
# Wine's first start on the display, which reads it.
work_area=(0 0 1024 728)
xprop -root -f _NET_WORKAREA 32cccc -set _NET_WORKAREA "$(IFS=,; echo "${work_area[*]}")"

wine_places_windows

driver() { "$wine" "$bin/ZOLUIDriver.exe" "$@"; }
shot() {
  import -display "$DISPLAY" -window root "$shots/$1.png"
  say "saved $shots/$1.png"
}

mkdir -p "$shots"
rm -f "$shots"/*.png
(cd "$bin" && exec "$wine" TestZOLUILib.exe) &
app_pid=$!
driver wait "$title"

step=1
for skin in ColorCoolbar ImageCoolbar MediaPlay Skin++; do
  driver command "$title" "$skin"
  shot "$step-${skin/++/PlusPlus}"
  step=$((step + 1))
done

driver post "$title" about
driver wait "About TestZOLUILib"
sleep 1
shot "$step-About"
driver press "About TestZOLUILib" 1
driver gone "About TestZOLUILib"

# Menus, opened from the keyboard as a user would: F10 highlights File, two
# steps right Skin, Down opens it, Down selects CoolBar and Right opens that.
# Alt+Space opens the system menu.
keys() {
  xdotool key --delay 200 "$@"
  sleep 1
}
keys F10 Right Right Down Down Right
shot "$((step + 1))-SkinMenu"
keys Escape Escape Escape alt+space
shot "$((step + 2))-SystemMenu"
keys Escape

# A double-click on the caption with the pointer maximizes the frame.
frame_window=$(xdotool search --onlyvisible --name "^${title}\$" | head -n 1)
frame_geometry() { xdotool getwindowgeometry --shell "$frame_window" | grep -E '^(X|Y|WIDTH|HEIGHT)='; }
eval "$(frame_geometry)"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 17)) click --repeat 2 --delay 60 1
for _ in $(seq 100); do
  eval "$(frame_geometry)"
  [[ "$X $Y $WIDTH $HEIGHT" == "${work_area[*]}" ]] && break
  sleep 0.2
done
if [[ "$X $Y $WIDTH $HEIGHT" != "${work_area[*]}" ]]; then
  say "the frame did not fill the work area when maximized: $X $Y $WIDTH $HEIGHT"
  exit 1
fi
sleep 1
shot "$((step + 3))-Maximized"
say "  the frame maximized: it fills the work area, ${work_area[2]}x${work_area[3]} at the top of the screen, with the skin's border drawn inside it; the black band below is the room kept for a task bar"

driver post "$title" exit
driver gone "$title"
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$app_pid" 2>/dev/null; then
  say "TestZOLUILib did not end after File > Exit"
  exit 1
fi
app_pid=
say "screenshots in $shots"
