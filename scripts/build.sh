#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Configures (once) and builds the program, the tools, the tests and the benchmarks into build/.
# Arguments go to CMake, also for a folder configured before (scripts/test.sh: -DR718_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@"
elif [ $# -gt 0 ]; then
    cmake -S . -B "$build_dir" "$@"
fi
cmake --build "$build_dir" -j"$(nproc)"
