#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages one command needs, when any is missing:
#   install-deps.sh build    building (scripts/build.sh) and running the program (scripts/run.sh)
#   install-deps.sh package  and making the Debian package (scripts/package.sh)
#   install-deps.sh test     and running every test, the package's too (scripts/test.sh, .ci/run)
#   install-deps.sh fuzz     and building the fuzz targets with clang (scripts/fuzz.sh)
#   install-deps.sh look     Xvfb, xdotool and ImageMagick, for looking at the windows by hand
#                            on a virtual screen (no command installs these)
# With --list first it only prints the packages of the set, one a line, and installs nothing.
set -euo pipefail

list_only=0
if [ "${1:-}" = --list ]; then
    list_only=1
    shift
fi
set_name=${1:-build}

# The compiler, the build tools and the libraries the build links; dpkg-buildflags (dpkg-dev)
# gives Debian's hardening flags; scdoc writes the manual pages, which every build makes; libpq
# lets the history cut a call to a server that stopped answering.
build=(
    build-essential dpkg-dev cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev
    libxlsxwriter-dev libpq-dev
    scdoc
)
# What the program loads at run time, out of the linker's sight: Qt's Polish dialogs, the
# history's database drivers, and Liberation Sans for the windows laid out on Arial's measures.
run=(qt6-translations-l10n libqt6sql6-sqlite libqt6sql6-psql fonts-liberation2)
# cpack finds the programs to pass to dpkg-shlibdeps (dpkg-dev) with file.
package=(file)
# What the tests call: a PostgreSQL server of their own (initdb, pg_ctl; Debian also starts
# its main cluster as a service), pdftotext/pdfinfo/pdftoppm, unzip (workbooks), and the tools
# that check the installed tree and the package (tests/install).
test=(
    postgresql
    poppler-utils unzip
    desktop-file-utils appstream shared-mime-info libxml2-utils man-db lintian
)
fuzz=(clang libclang-rt-14-dev)
look=(xvfb xdotool imagemagick)

case "$set_name" in
    build) packages=("${build[@]}" "${run[@]}") ;;
    package) packages=("${build[@]}" "${run[@]}" "${package[@]}") ;;
    test) packages=("${build[@]}" "${run[@]}" "${package[@]}" "${test[@]}") ;;
    fuzz) packages=("${build[@]}" "${run[@]}" "${fuzz[@]}") ;;
    look) packages=("${look[@]}") ;;
    *)
        echo "usage: install-deps.sh [--list] build|package|test|fuzz|look" >&2
        exit 2
        ;;
esac

if [ "$list_only" -eq 1 ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
