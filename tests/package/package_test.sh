#!/usr/bin/env bash
# The Debian package as dpkg sees it (files, control data, maintainer scripts), its unpacked
# program's command line, and its systemd unit as systemd-analyze sees it.
#   package_test.sh PACKAGE VERSION SERVICE_TYPE
set -uo pipefail
package=$1 version=$2 service_type=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root" || { echo "FAIL: cannot unpack $package"; exit 1; }
contents=$(dpkg-deb -c "$package")
while read -r mode path; do
  grep -Eq "^$mode .* \.$path\$" <<<"$contents" || fail "missing or wrong mode: $mode $path"
done <<'FILES'
-rwxr-xr-x /usr/bin/zelmar1
-rw-r--r-- /lib/systemd/system/zelmar1.service
-rw-r--r-- /etc/default/zelmar1
-rw-r--r-- /etc/xdg/autostart/zelmar1.desktop
-rwxr-xr-x /usr/libexec/zelmar1/zelmar1-tray
-rw-r--r-- /usr/share/doc/zelmar1/README.md
-rw-r--r-- /usr/share/doc/zelmar1/docs/window.png
FILES
grep -q ecrsim <<<"$contents" && fail "the simulator is in the package"

control=$(dpkg-deb -f "$package")
depends="libqt6serialport6"
[ "$service_type" = notify ] && depends="libsystemd0"
for field in "Version: $version\$" "Depends: .*init-system-helpers" "Depends: .*$depends"; do
  grep -Eq "^$field" <<<"$control" || fail "control lacks $field"
done
grep -Eq '^ +[0-9]+ bytes, +[0-9]+ lines +\* +postinst ' < <(dpkg-deb -I "$package") ||
  fail "postinst missing or not executable"
dpkg-deb -e "$package" "$root/DEBIAN"
for script in postinst prerm postrm; do sh -n "$root/DEBIAN/$script" || fail "$script syntax"; done
grep -qx /etc/default/zelmar1 "$root/DEBIAN/conffiles" || fail "defaults file not a conffile"

program=$root/usr/bin/zelmar1
[ "$("$program" --version)" = "zelmar1 $version" ] || fail "--version"
help=$("$program" --help) || fail "--help exit status"
for option in --headless --demo --program-dir --data-dir --port --log-level --convert \
              --register --option --help --version; do
  grep -q -- "^  $option " <<<"$help" || fail "--help lacks $option"
done
"$program" --headless --verbose 2>"$root/error"
[ $? -eq 2 ] && grep -q -- "--help" "$root/error" || fail "unknown option: $(cat "$root/error")"

# The unit inside the unpacked root, next to the system's own units, so that its program and
# the targets it names resolve. A bad setting is reported with exit status 0: any output fails.
grep -qx "Type=$service_type" "$root/lib/systemd/system/zelmar1.service" || fail "not $service_type"
cp -a -n /lib/systemd/system/. "$root/lib/systemd/system/"
verdict=$(systemd-analyze verify --root="$root" /lib/systemd/system/zelmar1.service 2>&1)
status=$?
[ $status -eq 0 ] && [ -z "$verdict" ] || fail "systemd-analyze verify ($status): $verdict"

[ $failures -eq 0 ] && echo "package test passed"
exit $((failures > 0))
