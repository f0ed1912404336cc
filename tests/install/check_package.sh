#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from the build folder into a temporary folder and checks it: the
# control fields, the dependencies dpkg-shlibdeps found, the files, and lintian (pedantic, with
# its informational tags, all printed): no error, and the programs built with Debian's
# hardening flags and stripped as Debian strips them.
#   check_package.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

start=$SECONDS
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) ||
    { cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$out"/tevano718_*.deb 2>/dev/null)
[ -f "$deb" ] || { echo "FAIL: no tevano718 package in $out"; exit 1; }
echo "cpack: $((SECONDS - start)) s, $(basename "$deb")"

info=$(dpkg-deb -f "$deb")
echo "$info"
field() { echo "$info" | sed -n "s/^$1: //p"; }
[ "$(field Package)" = tevano718 ] || fail "Package: $(field Package)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
for lib in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6serialport6 libqt6charts6 \
    libqt6printsupport6 libxlsxwriter libqt6sql6-sqlite; do
    field Depends | grep -q "\b$lib" || fail "Depends has no $lib: $(field Depends)"
done
echo "$info" | grep -q "dialout" || fail "the description does not name the dialout group"
field Recommends | grep -q "\bqt6-translations-l10n\b" ||
    fail "Recommends has no qt6-translations-l10n: $(field Recommends)"

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in ./usr/bin/r718 ./usr/bin/r718-report ./usr/libexec/r718/r718-sim \
    ./usr/share/doc/tevano718/copyright ./usr/share/doc/tevano718/changelog.Debian.gz; do
    echo "$files" | grep -qx "$f" || fail "the package has no $f"
done

start=$SECONDS
lintian_out=$(lintian --pedantic -I --tag-display-limit 0 "$deb" 2>&1)
echo "lintian: $((SECONDS - start)) s"
echo "$lintian_out"
echo "$lintian_out" | grep -q '^E: ' && fail "lintian reports errors"
echo "$lintian_out" | grep -Eq '^.: tevano718: (hardening-|binary-has-unneeded-section)' &&
    fail "lintian: programs without the hardening flags or not stripped"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "package: all checks passed"
