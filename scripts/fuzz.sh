#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz (clang, AddressSanitizer and
# UBSan, no Qt) and runs each one for a bounded time, starting from its seed
# inputs in tests/fuzz/corpus. A failing invariant, crash, leak or undefined
# behaviour stops with the input saved under build-fuzz/artifacts.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_HARNESS] [HARNESS...]
#   scripts/fuzz.sh            # 15 s each (scripts/test.sh runs 12 s each)
#   scripts/fuzz.sh 600        # a longer local run: 10 minutes each
#   scripts/fuzz.sh 60 history # one harness
# The inputs a run finds stay in build-fuzz/corpus and seed the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
shift || true

build_dir=build-fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DTAMBOR_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    for f in tests/fuzz/fuzz_*.cpp; do
        name=$(basename "$f" .cpp)
        harnesses+=("${name#fuzz_}")
    done
fi

mkdir -p "$build_dir/artifacts"
for name in "${harnesses[@]}"; do
    echo "== fuzz $name (${seconds} s)"
    work="$build_dir/corpus/$name"
    mkdir -p "$work"
    seeds=()
    [ -d "tests/fuzz/corpus/$name" ] && seeds=("tests/fuzz/corpus/$name")
    log="$build_dir/fuzz-$name.log"
    # New inputs go to the first folder only, so the seeds in the tree stay as they are.
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build_dir/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$build_dir/artifacts/$name-" "$work" "${seeds[@]}" \
        >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz $name failed: the input is in $build_dir/artifacts/, the log in $log" >&2
        exit 1
    fi
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$log" | tr '\n' ' '
    echo
done
