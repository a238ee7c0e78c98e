# The Wine prefixes. Sourced by tools/wine-run.sh and tools/test-services.sh.
#
# The programs of a build folder, run by hand or by the run command, use the prefix `wineprefix`
# inside it, or the one QZ_WINEPREFIX names. The tests use one of their own, `test-wineprefix`
# (tools/test-services.sh), so that a test run never meets a program started by hand. Each prefix
# has its own registry, wine server, desktop and temporary folder, and is set up on first use.

# The prefix of the programs of a build folder.
build_wine_prefix() {  # build folder (absolute)
  echo "${QZ_WINEPREFIX:-$1/wineprefix}"
}

use_wine_prefix() {  # prefix (absolute)
  export WINEPREFIX=$1
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono/Gecko prompts; a program that crashes ends at once instead of waiting in the debugger.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
  [ -f "$WINEPREFIX/$prefix_ready" ] || create_wine_prefix
}

# Marks a prefix set up as below; a prefix set up before the last change here is set up again.
prefix_ready=.done-3

# Once per prefix, also when several programs start at once on a fresh one. A prefix that exists
# already (one that QZ_WINEPREFIX names) only gets the fonts the programs draw with.
create_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/$prefix_ready" ] && exit 0
    echo "setting up the Wine prefix $WINEPREFIX" >&2
    mkdir -p "$WINEPREFIX"
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f \
      </dev/null >/dev/null 2>&1
    install_marlett_font
    wineserver -w
    touch "$WINEPREFIX/$prefix_ready"
  ) 9>"$WINEPREFIX.lock"
}

# Wine draws the buttons of the window captions that it draws itself with the Marlett font; without
# it in the prefix they show as the letters "0 1 r". Wine ships the font among its own data files.
install_marlett_font() {
  local font
  font=$(dirname "$(readlink -f "$(command -v wine)")")/../share/wine/fonts/marlett.ttf
  if [ -f "$font" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
  else
    echo "Wine's $font was not found: window captions drawn by Wine show letters for buttons" >&2
  fi
}

# Whether Wine draws and places the windows itself, or leaves that to the desktop's window manager.
# The private X displays have no window manager, and Wine would wait two seconds for one each time a
# window it leaves to one hides: a message box that closes, the main window when the program quits.
# On a desktop, windows that Wine places have no frame of the window manager, no taskbar entry and
# stay above all others. Set in the running Wine session; a program reads it when it starts.
wine_places_windows() {  # yes|no
  if [ "$1" = yes ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f </dev/null >/dev/null 2>&1 || true
  fi
}
