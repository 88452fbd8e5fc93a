#!/usr/bin/env bash
# Unpacks the Debian package into a temporary root, checks its metadata and
# contents, and runs the installed tools on the installed examples.
# usage: check_deb.sh PACKAGE.deb
set -euo pipefail

deb=$(realpath "$1")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() {
  echo "package check failed: $*" >&2
  exit 1
}

[ "$(dpkg-deb -f "$deb" Package)" = fdtools ] || fail "package name"
version=$(dpkg-deb -f "$deb" Version)
[ -n "$version" ] || fail "no version"
# Only the C and C++ runtime may be required.
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in $(echo "$depends" | tr ',' '\n' | sed 's/(.*)//'); do
  case "$dependency" in
    libc6 | libgcc-s1 | libstdc++6) ;;
    *) fail "unexpected dependency $dependency" ;;
  esac
done

dpkg-deb -x "$deb" "$root"
for file in usr/bin/fdcheck usr/bin/tablejoin usr/bin/fdtools \
  usr/share/man/man1/fdcheck.1 usr/share/man/man1/tablejoin.1 \
  usr/share/man/man1/fdtools.1 \
  usr/share/fdtools/web/fdtools.html usr/share/fdtools/web/fdtools.js \
  usr/share/fdtools/web/fdtools-page.js \
  usr/share/doc/fdtools/README.md usr/share/doc/fdtools/examples/input2n.txt \
  usr/share/doc/fdtools/examples/input1k.txt; do
  [ -f "$root/$file" ] || fail "missing $file"
done
grep -q "fdtools $version" "$root/usr/share/man/man1/fdcheck.1" ||
  fail "manual page does not show version $version"

work="$root/work"
mkdir "$work"
cp "$root"/usr/share/doc/fdtools/examples/*.txt "$work/"
(cd "$work" && "$root/usr/bin/fdcheck" >console.txt)
grep -q "Output written." "$work/console.txt" || fail "fdcheck did not finish"
# The verdict, in ISO 8859-2, with a CR LF line end.
tail -c 14 "$work/output2n.txt" | cmp -s - <(printf 'f\374gg\365s\351g\365rz\365\r\n') ||
  fail "unexpected verdict in output2n.txt"
(cd "$work" && "$root/usr/bin/tablejoin" >console.txt)
grep -q "Output written." "$work/console.txt" || fail "tablejoin did not finish"
grep -q "^result(" "$work/output1k.txt" || fail "no result table"
"$root/usr/bin/fdtools" --json report "$work/input2n.txt" >"$work/report.json"
grep -q '"preserved": true' "$work/report.json" || fail "fdtools report"
[ "$("$root/usr/bin/fdtools" --version)" = "fdtools $version" ] ||
  fail "fdtools --version does not show $version"
echo "package check passed: fdtools $version"
