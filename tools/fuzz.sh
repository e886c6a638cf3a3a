#!/usr/bin/env bash
# Runs each libFuzzer target for a set time and fails if any of them found
# something. Usage: tools/fuzz.sh BUILD_DIR SECONDS_PER_TARGET
# Findings are left in BUILD_DIR/findings/<target>/; turn each into a file in
# tests/regressions/ once it is fixed.
set -euo pipefail
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)

status=0
for target in read roundtrip entries; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    # Seeds: the hand-written snippets, the regression files and, when a
    # build has generated it, the sample data set's catalogues; a target with
    # seeds of its own (corpus-TARGET: the reader of genus entries, lines and
    # texts of catalogues) takes those, and a dictionary of its own where it
    # has one (TARGET.dict: words of ranges and notes).
    dict="$root/fuzz/$target.dict"
    [ -f "$dict" ] || dict="$root/fuzz/rtf.dict"
    if [ -d "$root/fuzz/corpus-$target" ]; then
        cp -n "$root/fuzz/corpus-$target"/* "$corpus"/
    else
        cp -n "$root"/fuzz/corpus/* "$corpus"/
        for sample in "$root"/build*/sample/dat/BD; do
            [ -d "$sample" ] && find "$sample" -maxdepth 1 -type f ! -name '*.txt' -exec cp -n {} "$corpus"/ \;
        done
    fi
    cp -n "$root"/tests/regressions/* "$corpus"/ 2>/dev/null || true
    echo "== fuzz_$target for ${seconds}s"
    # -malloc_limit_mb makes any single allocation over 512 MB a finding. The
    # process as a whole is allowed more: under ASan, with the fuzzer's
    # growing corpus, its RSS creeps up by some 10 MB per thousand runs even
    # though a plain loop over the same inputs stays flat.
    if ! QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=32 \
        "$build/fuzz/fuzz_$target" "$corpus" \
        -dict="$dict" -max_total_time="$seconds" -timeout=1 \
        -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=262144 \
        -artifact_prefix="$findings/" -print_final_stats=1 2>"$build/fuzz_$target.log"; then
        status=1
        tail -n 40 "$build/fuzz_$target.log"
    fi
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|^Done ' \
        "$build/fuzz_$target.log" || true
done
exit $status
