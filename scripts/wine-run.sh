#!/usr/bin/env bash
# Runs a Windows program under Wine; the cross build's emulator for its tests.
#   wine-run.sh [--prefix DIR] PROGRAM [ARGUMENTS...]
# The Wine prefix is DIR (default: $WINEPREFIX, else ~/.wine). It is made on first use, once:
# programs started together wait on a lock while the first one makes it. Wine's own messages
# (making the prefix, the wine server) go to DIR.log; the program's standard error stays its own.
# No display is needed: without DISPLAY, Wine runs without a window driver.
set -euo pipefail

if [ "${1:-}" = "--prefix" ]; then
  export WINEPREFIX="$2"
  shift 2
fi
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}"
export WINEDEBUG=-all
# No Mono or Gecko: nothing here is .NET or HTML, and their installers would ask on screen.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine_bin=/usr/lib/wine
log="$WINEPREFIX.log"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock -w 300 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$wine_bin/wine64" wineboot.exe --init >>"$log" 2>&1
      "$wine_bin/wineserver" -w >>"$log" 2>&1
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# A wine server that outlives one program by a while spares the next one its start (and keeps
# the server's messages out of the program's standard error). A running one makes this a no-op.
"$wine_bin/wineserver" -p10 >>"$log" 2>&1 || true
exec "$wine_bin/wine64" "$@"
