#!/usr/bin/env bash
# The hardening runs, after the normal tests: every test under AddressSanitizer and
# UndefinedBehaviorSanitizer, the tests without a window under ThreadSanitizer, and each
# fuzz target for a bounded time from its committed seeds. Each has its own build folder
# (build-asan, build-tsan, build-fuzz; see CMakePresets.json).
# Usage: scripts/hardening.sh [seconds per fuzz target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${1:-60}
fuzz_targets=(picture gac reply table prepare)

# Debian's clang 14 with its libFuzzer, and llvm-symbolizer for readable reports.
bash scripts/install-deps.sh dev

passed=0
failed=0
source scripts/timed.sh
started=$SECONDS
check() {
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# --- Sanitized test suites ---------------------------------------------------------------
timed "asan+ubsan build" sh -c 'cmake --preset asan >/dev/null && cmake --build --preset asan'
check timed "asan+ubsan tests" ctest --preset asan
timed "tsan build" sh -c 'cmake --preset tsan >/dev/null && cmake --build --preset tsan'
check timed "tsan tests" ctest --preset tsan

# --- Fuzzing -------------------------------------------------------------------------------
timed "fuzz build" sh -c 'cmake --preset fuzz >/dev/null && cmake --build --preset fuzz --target kestran_fuzz'

work=build-fuzz/run
rm -rf "$work"
mkdir -p "$work/artifacts" "$work/logs" "$work/tmp"
for t in "${fuzz_targets[@]}"; do
    # A working copy: libFuzzer adds what it finds to the first corpus folder.
    mkdir -p "$work/corpus/$t"
    for kind in corpus regressions; do
        if compgen -G "fuzz/$kind/$t/*" >/dev/null; then cp fuzz/"$kind/$t"/* "$work/corpus/$t/"; fi
    done
done
build-fuzz/fuzz/kestran_fuzz_png_seeds "$work/corpus/picture"

run_fuzzer() {
    local t=$1
    local dict=()
    if [ -f "fuzz/dict/$t.dict" ]; then dict=(-dict="fuzz/dict/$t.dict"); fi
    TMPDIR="$PWD/$work/tmp" build-fuzz/fuzz/"kestran_fuzz_$t" -max_total_time="$fuzz_seconds" \
        -timeout=30 -rss_limit_mb=2048 "${dict[@]}" -artifact_prefix="$work/artifacts/$t-" \
        -print_final_stats=1 "$work/corpus/$t" >"$work/logs/$t.log" 2>&1
}
report_fuzzer() {
    local t=$1 rc=$2 log="$work/logs/$1.log"
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    local done_line
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 | sed -E 's/^#[0-9]+[[:space:]]+DONE[[:space:]]+//')
    if [ "$rc" -eq 0 ]; then
        echo "fuzz $t: ${runs:-?} inputs, $done_line"
        return 0
    fi
    echo "fuzz $t FAILED (exit $rc); the end of its log ($log):"
    tail -n 60 "$log"
    echo "The failing input is kept in $work/artifacts/; fix the fault and add the input to"
    echo "fuzz/regressions/$t/ so that the test suite replays it."
    return 1
}
fuzz_all() {
    # Two at a time, one per core.
    local -A pid
    local i t rc status=0
    for ((i = 0; i < ${#fuzz_targets[@]}; i += 2)); do
        for t in "${fuzz_targets[@]:i:2}"; do
            run_fuzzer "$t" &
            pid[$t]=$!
        done
        for t in "${fuzz_targets[@]:i:2}"; do
            rc=0
            wait "${pid[$t]}" || rc=$?
            if report_fuzzer "$t" "$rc"; then
                passed=$((passed + 1))
            else
                failed=$((failed + 1))
                status=1
            fi
        done
    done
    return $status
}
timed "fuzz runs (${fuzz_seconds} s per target)" fuzz_all || true

echo
echo "=== hardening times"
printf '%s\n' "${timings[@]}"
printf '%-34s %4ds\n' "total" $((SECONDS - started))
echo "hardening: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
