#!/usr/bin/env bash
# Runs a Windows program under Wine; the cross build's emulator for its tests.
#   wine-run.sh [--prefix DIR] PROGRAM [ARGUMENTS...]
# The Wine prefix is DIR (default: $WINEPREFIX, else ~/.wine), made on first use. Wine's own
# messages (making the prefix, the wine server) go to DIR.log; the program's standard error
# stays its own. No display is needed: the prefix draws windows with Wine's null driver, so the
# window's tests make real windows that nobody sees.
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

# Under a lock, so that programs started together wait while the first one makes the prefix or
# starts the wine server. The server stays 10 s after its last program, sparing the next one
# its start. The helper processes a new server starts (services, devices) live as long as the
# server: started by the program itself they would hold its standard output open, and a caller
# reading that to its end (ctest) would wait for the server to go. They start here, on the log
# and without the lock.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock -w 300 9 || { echo "wine-run.sh: $WINEPREFIX stayed locked for 5 minutes" >&2; exit 1; }
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine_bin/wine64" wineboot.exe --init </dev/null >>"$log" 2>&1 9>&-
    # Read when the server starts its desktop: the server's end below makes the next one take it.
    "$wine_bin/wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
      </dev/null >>"$log" 2>&1 9>&-
    "$wine_bin/wineserver" -w >>"$log" 2>&1 9>&-
  fi
  if "$wine_bin/wineserver" -p10 >>"$log" 2>&1 9>&-; then
    "$wine_bin/wine64" cmd.exe /c exit </dev/null >>"$log" 2>&1 9>&-
  fi
) 9>"$WINEPREFIX.lock"

exec "$wine_bin/wine64" "$@"
