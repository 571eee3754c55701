#!/usr/bin/env bash
# Builds and runs every test: the core's unit tests natively, every test as a Windows exe under
# Wine (window tests again at 144 DPI), and a short fuzz run of the core.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ZV_ROOT" || exit 1

zv_need_build_tools
zv_need_wine
zv_need clang++:clang /usr/include/benchmark/benchmark.h:libbenchmark-dev \
    /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a:libclang-rt-14-dev
trap zv_cleanup EXIT

passed=0
failed=0
# Runs one ctest invocation and adds its counts to the totals.
run_ctest() {
    local log
    log=$(mktemp)
    timeout 1800 ctest "$@" 2>&1 | tee "$log"
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        failed=$((failed + 1))
        zv_log "ctest $* did not finish"
    else
        local bad total
        bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
    rm -f "$log"
}

step() {
    zv_log "$1"
    shift
    if ! "$@"; then
        failed=$((failed + 1))
        zv_log "failed: $*"
        return 1
    fi
}

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }

if step "native build" build native; then
    run_ctest --preset native
fi

if step "Windows build" build cross; then
    if step "Wine prefix" zv_start_display --private && step "Wine prefix" zv_start_wine 96; then
        run_ctest --preset cross
        step "window tests at 144 DPI" zv_set_dpi 144 && run_ctest --preset cross -L window
    fi
fi

fuzz_seconds=${ZELVARAN_FUZZ_SECONDS:-60}
if step "fuzz build" build fuzz; then
    corpus=$(mktemp -d)
    cp fuzz/corpus/* "$corpus"/ 2>/dev/null || true
    zv_log "fuzzing the core for ${fuzz_seconds} s"
    log=$(mktemp)
    if timeout $((fuzz_seconds + 120)) build/fuzz/fuzz/zelvaran_fuzz_generate \
        -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        tail -n 40 "$log"
    fi
    grep -E '^stat::number_of_executed_units|^Done ' "$log" || true
    rm -f "$log"
    rm -rf "$corpus"
fi

echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
