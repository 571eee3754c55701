#!/usr/bin/env bash
# Speed of a 9999-character password, and of zelvaran-cli against the usual commands, in one go:
#   - whole processes: zelvaran_print and `zelvaran-cli -c cgne -l 9999` against
#     `pwgen -s -y 9999 1`, against zelvaran_fill (start, fill 9999 bytes from the OS, exit) and
#     against zelvaran_floor (a C program that reads 9999 bytes with getrandom, maps each to a
#     printable character and writes them: the least a one-byte-a-character generator can do),
#     median of N runs each;
#   - zelvaran-cli, 100000 passwords of 20 characters against `pwgen -s 20 100000`, the same
#     with one of each kind (-t) against without, and an 8-word passphrase against
#     `xkcdpass -n 8`, medians of fewer runs (they take longer);
#   - in process: the core (Generate with reseed, 74-character pool, free mode and ACGNE) against
#     the bare OS fill of 9999 bytes, and one of each kind against without at 20 characters,
#     medians of Google Benchmark repetitions.
# The runs of the three commands, and the benchmark repetitions, are interleaved so that other
# load on the machine weighs on all of them alike.
# Builds nothing: run `cmake --build --preset native` first. Installs pwgen and xkcdpass (Debian
# packages) when they are missing.
# Usage: bench/compare.sh [build-dir (default build/native)] [runs (default 200)]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

build=${1:-build/native}
runs=${2:-200}
print_cmd=$build/bench/zelvaran_print
fill_cmd=$build/bench/zelvaran_fill
floor_cmd=$build/bench/zelvaran_floor
bench_cmd=$build/bench/zelvaran_bench
cli_cmd=$build/zelvaran-cli
for exe in "$print_cmd" "$fill_cmd" "$floor_cmd" "$bench_cmd" "$cli_cmd"; do
    [[ -x $exe ]] || { echo "missing $exe: build the native preset first" >&2; exit 1; }
done
zv_need pwgen:pwgen xkcdpass:xkcdpass

# Wall time of one run in microseconds, output discarded.
time_us() {
    local start end
    start=$EPOCHREALTIME
    "$@" >/dev/null
    end=$EPOCHREALTIME
    echo $((${end/./} - ${start/./}))
}

median() {
    sort -n | awk '{v[NR] = $1} END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
ratio2() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Runs each NAME=COMMAND once a round for ROUNDS rounds, interleaved, and sets NAME_us to the
# median of its times. The commands are split on spaces: none of their words holds one.
declare -A samples
interleave() {
    local rounds=$1 i pair
    shift
    samples=()
    for ((i = 0; i < rounds; ++i)); do
        for pair in "$@"; do
            # shellcheck disable=SC2086
            samples[${pair%%=*}]+="$(time_us ${pair#*=}) "
        done
    done
    for pair in "$@"; do
        # shellcheck disable=SC2086
        printf -v "${pair%%=*}_us" '%s' "$(printf '%s\n' ${samples[${pair%%=*}]} | median)"
    done
}

interleave "$runs" print="$print_cmd" pwgen="pwgen -s -y 9999 1" fill="$fill_cmd" \
    floor="$floor_cmd" cli="$cli_cmd -c cgne -l 9999"
# The longer commands: fewer runs, still interleaved.
long_runs=$(((runs + 19) / 20))
interleave "$long_runs" batch="$cli_cmd -n 100000" pwgen_batch="pwgen -s 20 100000" \
    plain_batch="$cli_cmd -c cgne -n 100000" each_batch="$cli_cmd -t -c cgne -n 100000" \
    phrase="$cli_cmd -p 8" xkcd="xkcdpass -n 8"

echo "Whole process, median of $runs runs:"
printf '  zelvaran_print           %8s us\n' "$print_us"
printf '  pwgen -s -y 9999 1       %8s us   (%sx zelvaran_print)\n' "$pwgen_us" \
    "$(ratio "$pwgen_us" "$print_us")"
printf '  zelvaran_fill            %8s us   (zelvaran_print takes %sx this)\n' "$fill_us" \
    "$(ratio "$print_us" "$fill_us")"
# Starting any process has a floor; zelvaran_fill sits on it, so this is the most any program
# could beat pwgen by on this machine.
printf '  pwgen / zelvaran_fill    %8sx  (the ceiling for any program here)\n' \
    "$(ratio "$pwgen_us" "$fill_us")"

# Each line: the figures, then the ratio the command is held to.
echo "zelvaran-cli, whole process:"
printf '  zelvaran_floor           %8s us\n' "$floor_us"
printf '  -c cgne -l 9999          %8s us   %sx zelvaran_floor (goal: at most 1.15), %sx zelvaran_fill\n' \
    "$cli_us" "$(ratio2 "$cli_us" "$floor_us")" "$(ratio2 "$cli_us" "$fill_us")"
printf '                                       pwgen -s -y 9999 1 takes %sx (goal: at least 5)\n' \
    "$(ratio "$pwgen_us" "$cli_us")"
printf '  -n 100000 (20 chars)     %8s us   pwgen -s 20 100000 takes %s us, %sx (goal: at least 10)\n' \
    "$batch_us" "$pwgen_batch_us" "$(ratio "$pwgen_batch_us" "$batch_us")"
printf '  -t -c cgne -n 100000     %8s us   %sx the same without -t (%s us; goal: at most 1.12)\n' \
    "$each_batch_us" "$(ratio2 "$each_batch_us" "$plain_batch_us")" "$plain_batch_us"
printf '  -p 8                     %8s us   xkcdpass -n 8 takes %s us, %sx (goal: at least 20)\n' \
    "$phrase_us" "$xkcd_us" "$(ratio "$xkcd_us" "$phrase_us")"
echo "  (medians of $runs and $long_runs runs)"

reps=15
csv=$("$bench_cmd" --benchmark_filter='^BM_(Free9999|Template9999|BareFill9999|Free20|EachKind20)$' \
    --benchmark_repetitions=$reps --benchmark_enable_random_interleaving=true \
    --benchmark_min_time=0.2 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null)
# CPU time (the fourth column) rather than wall time: on a machine shared with other work the
# wall clock counts the waits for a core, which fall on the benchmarks unevenly.
bench_median_ns() { awk -F, -v name="\"$1_median\"" '$1 == name { print $4 }' <<<"$csv"; }
core_ns=$(bench_median_ns BM_Free9999)
template_ns=$(bench_median_ns BM_Template9999)
bare_ns=$(bench_median_ns BM_BareFill9999)
free20_ns=$(bench_median_ns BM_Free20)
each20_ns=$(bench_median_ns BM_EachKind20)

echo "In process, median of $reps repetitions:"
printf '  core, free mode, 9999    %10.0f ns   (%sx the bare fill; goal: at most 1.5)\n' "$core_ns" \
    "$(ratio2 "$core_ns" "$bare_ns")"
printf '  core, ACGNE, 9999        %10.0f ns   (%sx the bare fill; goal: at most 1.7)\n' \
    "$template_ns" "$(ratio2 "$template_ns" "$bare_ns")"
printf '  bare fill, 9999 bytes    %10.0f ns\n' "$bare_ns"
printf '  core, free mode, 20      %10.0f ns\n' "$free20_ns"
printf '  core, one of each, 20    %10.0f ns   (%sx without; goal: at most 1.12)\n' "$each20_ns" \
    "$(ratio2 "$each20_ns" "$free20_ns")"
