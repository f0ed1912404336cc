#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building and every test need (scripts/install-deps.sh test) when it is missing,
# builds, and runs every test through CTest; then runs the whole suite
# once more under AddressSanitizer + UndefinedBehaviorSanitizer (scripts/sanitize.sh).
# R718_SKIP_SANITIZE=1 skips the sanitizer run (quick local runs). A compiler warning fails
# the build here (R718_WERROR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
bash scripts/build.sh -DR718_WERROR=ON
(cd "${BUILD_DIR:-build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
if [ "${R718_SKIP_SANITIZE:-0}" != 1 ]; then
    BUILD_DIR="${SANITIZE_BUILD_DIR:-build-sanitize}" bash scripts/sanitize.sh
fi
