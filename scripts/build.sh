#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Configures (once) and builds the program, the tools, the tests and the benchmarks into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@"
fi
cmake --build "$build_dir" -j"$(nproc)"
