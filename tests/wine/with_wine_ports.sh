#!/usr/bin/env bash
# Runs a Linux test or benchmark program against the Windows zelmar1.exe under Wine:
#   with_wine_ports.sh WORK_FOLDER ZELMAR1_EXE PROGRAM [ARGUMENTS...]
# WORK_FOLDER holds a Wine prefix of its own whose COM1 to COM4 are the links com1 to com4 in
# WORK_FOLDER/ports; the tests point a link at the register simulator's pseudo-terminal before
# they start the program on that COM port (tests/support/program_command.h reads the
# variables set here).
set -euo pipefail
work=$(realpath -m "$1")
exe=$(realpath "$2")
shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)

export WINEPREFIX="$work/prefix"
export ZELMAR_WINE_RUN="$root/scripts/wine-run.sh"
export ZELMAR_WINE_PORTS="$work/ports"
export ZELMAR1_WINE_EXE="$exe"
mkdir -p "$ZELMAR_WINE_PORTS"

# Wine reads its port mapping when its server starts: set it once, then restart the server.
if ! grep -qs 'com4' "$WINEPREFIX/system.reg"; then
  for n in 1 2 3 4; do
    "$ZELMAR_WINE_RUN" reg add 'HKLM\Software\Wine\Ports' /v "COM$n" \
      /d "$ZELMAR_WINE_PORTS/com$n" /f >/dev/null
  done
  /usr/lib/wine/wineserver -k >>"$WINEPREFIX.log" 2>&1 || true
  /usr/lib/wine/wineserver -w >>"$WINEPREFIX.log" 2>&1 || true
fi
exec "$@"
