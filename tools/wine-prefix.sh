# Wine for the project's scripts, sourced by run.sh and cmake/run-under-wine.sh.
# Sets $wine and $wineserver, exports the environment every Wine program here
# runs with, and defines prepare_wine_prefix.

# Debian's wine launcher prefers a 32-bit wine that may be installed but unable
# to run here; call the 64-bit loader directly when it exists.
if [[ -x /usr/lib/wine/wine64 ]]; then
  wine=/usr/lib/wine/wine64
else
  wine=$(command -v wine64 || command -v wine)
fi
if [[ -x /usr/lib/wine/wineserver64 ]]; then
  wineserver=/usr/lib/wine/wineserver64
else
  wineserver=wineserver
fi

export WINEDEBUG=-all
# Wine converts file names with the locale's character set: without UTF-8 (as
# under CI, where no locale is set) names outside ASCII cannot be opened.
export LC_ALL=C.UTF-8

# Wine's own fonts (Marlett draws the glyphs of caption buttons and of the
# system menu, Tahoma is the dialogs' face).
wine_fonts=/usr/share/wine/fonts

# prepare_wine_prefix <prefix> [<X11 driver value>=<data>...]
# Creates the prefix once, with the X11 driver settings given, and makes sure
# it has Wine's own fonts. Debian's Wine looks for them below its data folder,
# which it knows as /usr/lib/wine/../../share/wine; the font loader turns that
# into a Windows path, where ".." is not a valid name, so none of them loads.
# Linked into the Windows fonts folder, they are found there. Returns non-zero
# with Wine's output on standard error when the prefix cannot be made.
prepare_wine_prefix() {
  local prefix=$1
  shift
  if [[ ! -e $prefix/.zol-ready ]]; then
    mkdir -p "$(dirname "$prefix")"
    # No Mono or Gecko: the first start would otherwise offer to download them.
    if ! WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >"$prefix.log" 2>&1; then
      cat "$prefix.log" >&2
      return 1
    fi
    local setting
    for setting in "$@"; do
      if ! WINEPREFIX=$prefix "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v "${setting%%=*}" \
          /t REG_SZ /d "${setting#*=}" /f >>"$prefix.log" 2>&1; then
        cat "$prefix.log" >&2
        return 1
      fi
    done
    # The server started here knows no display: let it end before a program
    # starts, or that program would find no window driver.
    if ! WINEPREFIX=$prefix "$wineserver" -w >>"$prefix.log" 2>&1; then
      cat "$prefix.log" >&2
      return 1
    fi
    touch "$prefix/.zol-ready"
  fi
  local fonts=$prefix/drive_c/windows/Fonts
  if [[ -d $wine_fonts && ! -e $fonts/marlett.ttf ]]; then
    mkdir -p "$fonts"
    ln -sf "$wine_fonts"/* "$fonts/"
  fi
}
