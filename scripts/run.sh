#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building and running need (scripts/install-deps.sh build) when it is missing,
# builds, and starts the program on the simulated calibrator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
bash scripts/build.sh
exec "${BUILD_DIR:-build}/src/r718" --simulator "$@"
