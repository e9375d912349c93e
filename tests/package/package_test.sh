#!/usr/bin/env bash
# The Debian package as dpkg sees it: its files, its control data and maintainer scripts, and
# its systemd unit as systemd-analyze sees it once the package is unpacked.
#   package_test.sh PACKAGE VERSION SERVICE_TYPE
set -uo pipefail
package=$1 version=$2 service_type=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root" || { echo "FAIL: cannot unpack $package"; exit 1; }
contents=$(dpkg-deb -c "$package")

# Path and mode of each file that must be in the package.
while read -r path mode; do
  grep -Eq "^$mode .* \./${path#/}\$" <<<"$contents" || fail "missing or wrong mode: $mode $path"
done <<'FILES'
/usr/bin/zelmar1 -rwxr-xr-x
/lib/systemd/system/zelmar1.service -rw-r--r--
/etc/default/zelmar1 -rw-r--r--
/etc/xdg/autostart/zelmar1.desktop -rw-r--r--
/usr/libexec/zelmar1/zelmar1-tray -rwxr-xr-x
/usr/share/doc/zelmar1/README.md -rw-r--r--
/usr/share/doc/zelmar1/docs/ARCHITECTURE.md -rw-r--r--
/usr/share/doc/zelmar1/docs/window.png -rw-r--r--
FILES
grep -q ecrsim <<<"$contents" && fail "the simulator is in the package"
readelf -S "$root/usr/bin/zelmar1" | grep -q debug_info && fail "the program keeps its debug data"

# Control fields: what dpkg installs and how.
control=$(dpkg-deb -f "$package")
for field in "Package: zelmar1" "Version: $version" "Depends: .*libqt6serialport6" \
             "Depends: .*init-system-helpers" "Recommends: qt6-qpa-plugins"; do
  grep -Eq "^$field" <<<"$control" || fail "control lacks $field"
done
if [ "$service_type" = notify ]; then
  grep -Eq '^Depends: .*libsystemd0' <<<"$control" || fail "no libsystemd0 dependency"
fi
info=$(dpkg-deb -I "$package")
for script in postinst prerm postrm; do
  grep -Eq "^ +[0-9]+ bytes, +[0-9]+ lines +\* +$script " <<<"$info" ||
    fail "$script missing or not executable"
done
scripts=$(mktemp -d -p "$root")
dpkg-deb -e "$package" "$scripts"
for script in postinst prerm postrm; do
  sh -n "$scripts/$script" || fail "$script: shell syntax"
done
[ "$(cat "$scripts/conffiles")" = $'/etc/default/zelmar1\n/etc/xdg/autostart/zelmar1.desktop' ] ||
  fail "conffiles: $(cat "$scripts/conffiles")"

# The autostart entry and its launcher start programs that the package holds.
exec_line=$(grep '^Exec=' "$root/etc/xdg/autostart/zelmar1.desktop")
[ -x "$root${exec_line#Exec=}" ] || fail "autostart runs a missing program: $exec_line"
sh -n "$root/usr/libexec/zelmar1/zelmar1-tray" || fail "tray launcher: shell syntax"

# The unit, inside the unpacked root next to the system's own units, so that its program and
# the targets it names resolve. systemd-analyze reports a bad setting with a message and exit
# status 0, so any output fails too.
unit=$root/lib/systemd/system/zelmar1.service
grep -qx "Type=$service_type" "$unit" || fail "unit type is not $service_type"
grep -qx "ExecStart=/usr/bin/zelmar1 --headless .*" "$unit" || fail "unit does not run it headless"
cp -a -n /lib/systemd/system/. "$root/lib/systemd/system/"
verdict=$(systemd-analyze verify --root="$root" /lib/systemd/system/zelmar1.service 2>&1)
status=$?
[ $status -eq 0 ] && [ -z "$verdict" ] || fail "systemd-analyze verify ($status): $verdict"

if [ $failures -eq 0 ]; then echo "package test passed"; fi
exit $((failures > 0))
