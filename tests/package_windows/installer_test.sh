#!/usr/bin/env bash
# zelmar1-setup.exe under Wine, used as an administrator would: a silent install into a fresh
# prefix and what it leaves (files, folders, Start-menu entry, Run value, uninstall entry), one
# receipt by the installed program against ecrsim on COM1, then a silent uninstall that stops
# the running program, removes what the install added and keeps the data folder.
#   installer_test.sh INSTALLER VERSION ECRSIM WINE
# Exit status 0 passed, 1 failed.
set -uo pipefail
installer=$(realpath "$1") version=$2 ecrsim=$3 wine=$4
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
# No window, no Mono or Gecko to install, no menu entries in the desktop's own menus.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d
ecrsim_pid='' program_pid=''
cleanup() {
  [ -n "$program_pid" ] && kill -KILL "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
  [ -n "$ecrsim_pid" ] && kill "$ecrsim_pid" 2>/dev/null
  timeout 30 "$wineserver" -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

drive_c=$WINEPREFIX/drive_c
install_dir="$drive_c/Program Files/Zelmar1"
data_dir=$drive_c/ProgramData/TELVOZELMAR1
settings_dir=$drive_c/ProgramData/Zelmar1
menu_entry="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelmar1.lnk"
win_install_dir='C:\Program Files\Zelmar1'
win_program="$win_install_dir\\zelmar1.exe"
win_uninstaller="$win_install_dir\\uninstall.exe"
win_settings_dir='C:\ProgramData\Zelmar1'
program_arguments="--program-dir \"$win_settings_dir\""
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelmar1'

# A Windows program run to its end, at most 120 s; Wine's own messages go to wine.log.
win() { timeout 120 "$wine" "$@" </dev/null 2>>"$work/wine.log"; }
# True once the command succeeds; tried every 0.1 s for at most $1 seconds.
wait_until() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}
# The data of value $2 of registry key $1; fails when there is no such value.
reg_value() {
  win reg query "$1" /v "$2" | tr -d '\r' | sed -n "s/^ *$2 \+REG_[A-Z_]\+ \+//p" | grep .
}
# Milliseconds since the test started.
elapsed_ms() { echo $(((${EPOCHREALTIME//[.,]/} - test_start) / 1000)); }
test_start=${EPOCHREALTIME//[.,]/}
# A child not yet waited for stays a zombie once it has ended.
ended() {
  local state
  state=$(ps -o stat= -p "$1") || return 0
  [[ $state == Z* ]]
}
finish() {
  if ((failures > 0)); then
    echo "--- program (standard error, with Wine's)"; tail -n 40 "$work/program.log" 2>/dev/null
    echo "--- Wine"; tail -n 40 "$work/wine.log" 2>/dev/null
    exit 1
  fi
  echo "installer test passed"
  exit 0
}

# The register: ecrsim on a pseudo-terminal, which Wine serves as COM1 once it has been started
# afresh with the mapping in its registry.
[ -x "$ecrsim" ] || { echo "FAIL: no ecrsim at $ecrsim: build the Linux build first"; exit 1; }
printf '%s\n' serial=72123456 model=AB rt=1 date=15032024 time=093000 document=6 closure=41 \
  day_total=100.00 grand_total=5000.00 >"$work/register.txt"
"$ecrsim" --config "$work/register.txt" --journal "$work/journal.txt" >"$work/ecrsim.out" 2>&1 &
ecrsim_pid=$!
wait_until 10 grep -qs '^READY' "$work/ecrsim.out" || { fail "ecrsim did not start"; finish; }
pty=$(sed -n 's/^SERIAL //p' "$work/ecrsim.out")
# Slots 2 to 4 (COM2 to COM4) get a path that is no device: no port of the machine is touched.
for port in "COM1=$pty" COM2="$work/no-such-device" COM3="$work/no-such-device" \
            COM4="$work/no-such-device"; do
  win reg add 'HKLM\Software\Wine\Ports' /v "${port%%=*}" /d "${port#*=}" /f >/dev/null ||
    fail "$port mapping"
done
timeout 30 "$wineserver" -k
timeout 30 "$wineserver" -w

install_start=$(elapsed_ms)
win "$installer" /S || fail "silent install: status $?"
install_ms=$(($(elapsed_ms) - install_start))

for made in "$install_dir/zelmar1.exe" "$install_dir/README.md" "$install_dir/uninstall.exe" \
            "$menu_entry" "$data_dir/" "$settings_dir/"; do
  [ -e "$made" ] || fail "not installed: $made"
done
# The shortcut keeps its target in 8-bit text and its arguments in UTF-16.
grep -qF -e "$win_program" < <(strings -a "$menu_entry") || fail "menu entry target"
grep -qF -e "$program_arguments" < <(strings -a -el "$menu_entry") || fail "menu entry arguments"
run_command=$(reg_value "$run_key" Zelmar1)
[ "$run_command" = "\"$win_program\" $program_arguments" ] || fail "Run value: $run_command"
while IFS='|' read -r name expected; do
  actual=$(reg_value "$uninstall_key" "$name")
  [ "$actual" = "$expected" ] || fail "uninstall entry $name: $actual"
done <<ENTRY
DisplayName|Zelmar1
DisplayVersion|$version
InstallLocation|$win_install_dir
UninstallString|"$win_uninstaller"
QuietUninstallString|"$win_uninstaller" /S
ENTRY

# A file of the point-of-sale application's own, which the uninstaller must leave alone.
pos_file=CASSA.TXT
printf 'archivio\r\n' >"$data_dir/$pos_file"

# The installed program as the Run value starts it, but headless: slot 1 served, polled every
# 100 ms. It is left running for the uninstaller to stop.
printf '1000\r\n' >"$settings_dir/ZMCHKCOM.TXT"
printf '100\r\n' >"$settings_dir/ZMTIMER1.TXT"
answer=$(timeout 20 "$wine" "$win_program" --version 2>>"$work/wine.log" | tr -d '\r')
"$wine" "$win_program" --program-dir "$win_settings_dir" --headless \
  >/dev/null 2>"$work/program.log" &
program_pid=$!
if [ "$answer" != "zelmar1 $version" ]; then
  fail "the installed program answers --version with \"$answer\", not \"zelmar1 $version\""
elif ! wait_until 60 test -f "$data_dir/SR_MATR.001"; then
  fail "no register-data read (SR_MATR.001)"
else
  printf 'SALE,N1,P150,:PANE;\r\nCASH,V150;\r\n' >"$data_dir/SR_DATI.001"
  : >"$data_dir/SR_START.001"
  wait_until 60 test ! -e "$data_dir/SR_START.001" || fail "the job did not end"
  wait_until 5 grep -qx finesco "$data_dir/FINESCO.001" || fail "no FINESCO.001"
  test -f "$data_dir/SR_OUT.001" || fail "no SR_OUT.001"
fi

# Run in place (_?=), so that its exit status is the uninstaller's, not that of the copy it
# otherwise starts. The parameter must reach it unquoted, with a blank in the path: a batch file.
printf '@"%s" /S _?=%s\r\n@exit /b %%ERRORLEVEL%%\r\n' "$win_uninstaller" "$win_install_dir" \
  >"$drive_c/uninstall.bat"
uninstall_start=$(elapsed_ms)
win cmd /c 'C:\uninstall.bat' || fail "silent uninstall: status $?"
uninstall_ms=$(($(elapsed_ms) - uninstall_start))
if wait_until 10 ended "$program_pid"; then
  wait "$program_pid"
  status=$?
  program_pid=''
  [ $status -eq 0 ] || fail "the stopped program's exit status: $status"
else
  fail "the uninstaller did not stop the program"
fi

left=$(ls -A "$install_dir" | tr '\n' ' ')
[ "$left" = "uninstall.exe " ] || fail "left installed: $left"
test ! -e "$menu_entry" || fail "menu entry left"
reg_value "$run_key" Zelmar1 >/dev/null && fail "Run value left"
win reg query "$uninstall_key" >/dev/null && fail "uninstall entry left"
test -f "$settings_dir/ZMTIMER1.TXT" || fail "settings folder removed"
test -f "$data_dir/$pos_file" || fail "data folder removed"

echo "install $install_ms ms, uninstall with the program's stop $uninstall_ms ms," \
  "whole test $(elapsed_ms) ms"
finish
