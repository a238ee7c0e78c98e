# The Wine prefix of a build folder. Sourced by tools/wine-run.sh and tools/test-services.sh.
#
# Every build folder has its own prefix, inside it, created on first use: its own registry, wine
# server, desktop and temporary folder, so that the tests of two trees never meet. QZ_WINEPREFIX
# names another prefix instead.

use_wine_prefix() {  # build folder (absolute)
  export WINEPREFIX=${QZ_WINEPREFIX:-$1/wineprefix}
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono/Gecko prompts; a program that crashes ends at once instead of waiting in the debugger.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
  [ -f "$WINEPREFIX/$prefix_ready" ] || create_wine_prefix
}

# Marks a prefix set up as below; a prefix set up before the last change here is set up again.
prefix_ready=.done-2

# Once per prefix, also when several programs start at once on a fresh one.
create_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/$prefix_ready" ] && exit 0
    echo "setting up the Wine prefix $WINEPREFIX" >&2
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f \
      </dev/null >/dev/null 2>&1
    # Wine draws and places the windows itself. The private X displays have no window manager, and
    # Wine would wait two seconds for one each time a window it leaves to one hides: a message box
    # that closes, the main window when the program quits.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/$prefix_ready"
  ) 9>"$WINEPREFIX.lock"
}
