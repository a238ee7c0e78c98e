#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's test prefix; starts a private X display
# when none is set, so that programs that open windows work too.
set -eu
export WINEPREFIX=${QZ_WINEPREFIX:-${QZ_DEPS_ROOT:-/opt/quillam-deps}/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko prompts; a program that crashes ends at once instead of waiting in the debugger.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' wine "$@"
fi
exec wine "$@"
