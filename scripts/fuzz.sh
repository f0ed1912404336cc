#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs each of them for the given time with its seed corpus.
#   scripts/fuzz.sh [seconds-per-target] [target...]
# The seeds are copied into build-fuzz/corpus/<target>, which keeps what the runs find; crash
# inputs land in build-fuzz/crashes/<target>/. Exit status 1 when any target crashed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_met_load fuzz_met_overlay fuzz_link_reply
    fuzz_number_text fuzz_param_check fuzz_range_editor fuzz_point_entry fuzz_measure_entry
    fuzz_exceed_rule)

bash scripts/install-deps.sh fuzz

build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DR718_FUZZ=ON
fi
cmake --build "$build_dir" -j"$(nproc)" --target r718-fuzzers

export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME="$PWD/$build_dir/fuzz-config"
# Qt keeps caches for the whole run, so leak checking is off; leaks of the program's own
# objects show up as growing memory (-rss_limit_mb).
# Short allocation stacks and a small quarantine: the .met targets make thousands of small
# texts per input, and full stacks for each made them several times slower and grow.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:malloc_context_size=2:quarantine_size_mb=32}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

summary=()
failed=0
for target in "${targets[@]}"; do
    corpus="$build_dir/corpus/$target"
    crashes="$build_dir/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
    case "$target" in
        fuzz_met_load) max_len=126200 ;;
        fuzz_met_overlay | fuzz_link_reply) max_len=2048 ;;
        *) max_len=1024 ;;
    esac
    log="$build_dir/fuzz-$target.log"
    marker="$build_dir/.fuzz-start-$target"
    touch "$marker"
    echo "== $target: ${seconds}s"
    set +e
    nice -n 10 "$build_dir/fuzz/$target" "$corpus" -max_total_time="$seconds" \
        -max_len="$max_len" -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$crashes/" >"$log" 2>&1
    status=$?
    set -e
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    units=$(ls "$corpus" | wc -l)
    found=$(find "$crashes" -type f -newer "$marker" | wc -l)
    if [ $status -ne 0 ]; then
        failed=1
        grep -m3 -E 'ERROR: |rule broken|runtime error' "$log" || tail -5 "$log"
    fi
    summary+=("$(printf '%-20s %5ss %10s execs %7s/s corpus %5s crashes %3s exit %s' \
        "$target" "$seconds" "${runs:-0}" "${rate:-0}" "$units" "$found" "$status")")
done
echo
printf '%s\n' "${summary[@]}"
exit $failed
