#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building and packaging need (scripts/install-deps.sh package) when it is
# missing, builds, and makes the Debian package tevano718 in build/
# (install it with: sudo apt install ./build/tevano718_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh package
bash scripts/build.sh
build_dir=${BUILD_DIR:-build}
(cd "$build_dir" && cpack -G DEB)
ls "$build_dir"/tevano718_*.deb
