#!/usr/bin/env bash
# Builds and runs every test: the committed pictures against their script, the core's unit tests
# natively, a check of zelvaran-cli's Debian package, every test as a Windows exe under Wine
# (window tests again at 144 and 192 DPI), and a short fuzz run of the core and the command line.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ZV_ROOT" || exit 1

zv_need_build_tools
zv_need_wine
zv_need python3:python3 clang++:clang /usr/include/benchmark/benchmark.h:libbenchmark-dev \
    /usr/share/bash-completion/bash_completion:bash-completion
# The word list's test reads Debian's Spanish dictionary through libhunspell.
zv_need pkg-config:pkgconf /usr/include/hunspell/hunspell.hxx:libhunspell-dev \
    /usr/share/hunspell/es_ES.dic:hunspell-es
# The help file's checks read the compiled file through chmlib and the pages through libxml2.
zv_need /usr/include/chm_lib.h:libchm-dev /usr/include/libxml2/libxml/HTMLparser.h:libxml2-dev
# The fuzzer runtime of whichever clang is installed, found through the compiler itself.
zv_need "$(clang -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a:libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
trap zv_cleanup EXIT

passed=0
failed=0
# Runs one ctest invocation and adds its counts, read from its JUnit report, to the totals. A
# run that fails without a report, or whose report shows no failure, still counts as one.
run_ctest() {
    local report status
    report=$(mktemp)
    timeout 1800 ctest --output-junit "$report" "$@"
    status=$?
    # The suite's element spreads its attributes over several lines.
    local suite total bad
    suite=$(tr '\n\t' '  ' <"$report" 2>/dev/null | grep -o -m 1 '<testsuite [^>]*')
    total=$(sed -nE 's/.* tests="([0-9]+)".*/\1/p' <<<"$suite")
    bad=$(sed -nE 's/.* failures="([0-9]+)".*/\1/p' <<<"$suite")
    rm -f "$report"
    if [ -z "$total" ] || [ -z "$bad" ] || [ "$total" -eq 0 ]; then
        failed=$((failed + 1))
        zv_log "ctest $* ran no tests (exit status $status)"
        return
    fi
    if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
        bad=1
        zv_log "ctest $* failed (exit status $status)"
    fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
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

# The committed icons and pictures must be exactly what their script draws.
if step "pictures match resources/make_images.py" python3 resources/make_images.py --check; then
    passed=$((passed + 1))
fi

if step "native build" build native; then
    run_ctest --preset native
    # The Debian package of zelvaran-cli, built and checked as release.sh makes it.
    if step "Debian package of zelvaran-cli" bash scripts/package_cli.sh build/deb-check; then
        passed=$((passed + 1))
    fi
fi

if step "Windows build" build cross; then
    if step "Wine prefix" zv_start_display --private && step "Wine prefix" zv_start_wine 96; then
        run_ctest --preset cross
        step "window tests at 144 DPI" zv_set_dpi 144 && run_ctest --preset cross -L window
        # 192 DPI: where the client area grows past x = 517. The installer does not change with it.
        step "window tests at 192 DPI" zv_set_dpi 192 &&
            run_ctest --preset cross -L window -LE installer
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
