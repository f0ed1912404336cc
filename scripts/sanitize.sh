#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything once more with AddressSanitizer + UndefinedBehaviorSanitizer into
# build-sanitize/ (BUILD_DIR overrides) and runs the whole CTest suite under it. Any sanitizer
# report fails: in a test binary through its exit code, in a program a test starts (r718-sim,
# r718-report, r718) through the report file it leaves behind.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh test

build_dir=${BUILD_DIR:-build-sanitize}
# -O1 keeps the instrumented tests quick enough on two cores without hiding stack frames. A
# compiler warning fails the build (R718_WERROR), also in a folder configured before.
cmake -S . -B "$build_dir" -G Ninja -DR718_SANITIZE=ON -DR718_WERROR=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
cmake --build "$build_dir" -j"$(nproc)"

logs=$(cd "$build_dir" && pwd)/sanitizer-reports
rm -rf "$logs"
mkdir -p "$logs"

# AddressSanitizer and LeakSanitizer reports go to files (one per process), so that a report
# from a child process, whose stderr a test may swallow, is not lost; the test binary itself
# still fails through the exit code. UndefinedBehaviorSanitizer ignores log_path and writes to
# stderr: a child's report then shows in the test's output, which is searched below.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:log_path=$logs/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$logs/ubsan"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"

status=0
(cd "$build_dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@") || status=$?

shopt -s nullglob
reports=("$logs"/*)
for f in "${reports[@]}"; do
    echo "==== sanitizer report: $f"
    cat "$f"
done
pattern='runtime error:|ERROR: AddressSanitizer|ERROR: LeakSanitizer|SUMMARY: UndefinedBehaviorSanitizer'
output="$build_dir/Testing/Temporary/LastTest.log"
in_output=0
if [ -f "$output" ] && grep -Eq "$pattern" "$output"; then
    echo "==== sanitizer reports in the tests' output ($output):"
    grep -En "$pattern" "$output"
    in_output=1
fi
if [ ${#reports[@]} -gt 0 ] || [ "$in_output" -eq 1 ]; then
    echo "sanitize.sh: sanitizer reports found, see above" >&2
    [ "$status" -ne 0 ] || status=1
fi
exit "$status"
