#!/usr/bin/env bash
# Runs a Windows program of a build under Wine: program [arguments...]. Every program of a build
# lies in its bin folder, and the build's Wine prefix beside that (see tools/wine-prefix.sh).
# Starts a private X display when none is set, so that programs that open windows work too.
set -eu
source "$(dirname "$0")/wine-prefix.sh"
use_wine_prefix "$(build_wine_prefix "$(cd "$(dirname "$1")/.." && pwd)")"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' wine "$@"
fi
exec wine "$@"
