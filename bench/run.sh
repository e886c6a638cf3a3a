#!/usr/bin/env bash
# Runs the viewer's benchmarks, times the peers on the same files, and writes
# BUILD/bench-summary.md.
#   bench/run.sh BUILD
# BUILD is a release build configured with -DFOSDAT_BENCH=ON. Settings:
#   BENCH_REPETITIONS  repetitions of each in-process benchmark (5)
#   STARTUP_RUNS       launches of the viewer per data set and platform (10)
#   FAST_RUNS          runs of rtf2txt, and of unrtf on the largest catalogue (30)
#   PEER_RUNS          runs of LibreOffice on the largest catalogue (10)
#   PEER_HEAVY_RUNS    runs of unrtf and LibreOffice on the scale files (3)
#   PEER_TIMEOUT       seconds after which a converter run is stopped (120)
#   SCALE_GENERA       genera of the largest sample catalogue (2800)
#   RICH_GENERA        genera of the real-shaped catalogue (30000), written with
#                      entries as formatted as a real catalogue's may be
#   VIEW_GENERA        genera of the real-shaped catalogue of about 544 KB the
#                      view is timed on beside the one of RICH_GENERA (3090)
#   ONE_RICH_GENERA genera of the real-shaped catalogue of about 55 MB put in
#                      FORAM's place in the onerich data set (300000)
#   HOSTILE_DIR        a directory of further files to load in the window, one
#                      process each: catalogues, and reference lists (*.txt);
#                      by default the files of fosdat-hostile-inputs, when the
#                      build has it
set -euo pipefail

build=$(realpath "${1:?usage: bench/run.sh BUILD}")
reps=${BENCH_REPETITIONS:-5}
startup_runs=${STARTUP_RUNS:-10}
fast_runs=${FAST_RUNS:-30}
peer_runs=${PEER_RUNS:-10}
heavy_runs=${PEER_HEAVY_RUNS:-3}
peer_timeout=${PEER_TIMEOUT:-120}
genera=${SCALE_GENERA:-2800}
rich_genera=${RICH_GENERA:-30000}
view_genera=${VIEW_GENERA:-3090}

sample=$build/sample
data=$build/bench-data
results=$build/bench-results
summary=$build/bench-summary.md
rm -rf "$results"
mkdir -p "$data" "$results"

largest=$(cd "$sample/dat/BD" && ls -S | grep -vi '\.txt$' | head -n 1)
catalogue=$sample/dat/BD/$largest

echo "== $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); largest sample catalogue $largest"

# Scale files of 10 and 100 times the largest catalogue's genera, written
# again whenever the generator has changed.
generator=$build/tools/sampledata/fosdat-sampledata
for times in 10 100; do
    file=$data/x$times.rtf
    if [ ! -f "$file" ] || [ "$generator" -nt "$file" ]; then
        "$generator" --scale $((times * genera)) "$file"
    fi
done
# A real-shaped catalogue: about 5 MB, several changes of format a genus.
rich=$data/rich.rtf
if [ ! -f "$rich" ] || [ "$generator" -nt "$rich" ]; then
    "$generator" --scale "$rich_genera" --rich "$rich"
fi
ls -l "$catalogue" "$data/x10.rtf" "$data/x100.rtf" "$rich"
# Real-shaped catalogues the view is timed on, named by their genera: one of
# about 544 KB and the one of RICH_GENERA.
view_files=()
for count in "$view_genera" "$rich_genera"; do
    file=$data/view/$count.rtf
    if [ ! -f "$file" ] || [ "$generator" -nt "$file" ]; then
        mkdir -p "$data/view"
        "$generator" --scale "$count" --rich "$file"
    fi
    view_files+=("$file")
done
ls -l "${view_files[@]}"

# Data sets of ten times the sample's genera: each catalogue written again
# with ten times its paragraphs, plainly (x10set, for the search over every
# catalogue) and formatted as a real catalogue's may be (x10rich).
scaled_set() {
    local dir=$1 file paragraphs
    shift
    if [ ! -f "$dir/dat.stamp" ] || [ "$generator" -nt "$dir/dat.stamp" ]; then
        rm -rf "$dir"
        mkdir -p "$dir/dat/BD"
        for file in "$sample"/dat/BD/*; do
            case $file in *.txt) continue ;; esac
            paragraphs=$("$build/rtf2txt" "$file" | wc -l)
            "$generator" --scale $((10 * paragraphs)) "$@" "$dir/dat/BD/$(basename "$file")"
        done
        touch "$dir/dat.stamp"
    fi
    du -sh "$dir/dat/BD"
}
x10set=$data/x10set
scaled_set "$x10set"
x10rich=$data/x10rich
scaled_set "$x10rich" --rich
# The sample data set with one real-shaped catalogue of about 55 MB in
# FORAM's place: one catalogue holding most of the text.
onerich=$data/onerich
if [ ! -f "$onerich/dat.stamp" ] || [ "$generator" -nt "$onerich/dat.stamp" ]; then
    rm -rf "$onerich"
    cp -r "$sample" "$onerich"
    "$generator" --scale "${ONE_RICH_GENERA:-300000}" --rich "$onerich/dat/BD/FORAM"
    touch "$onerich/dat.stamp"
fi
du -sh "$onerich/dat/BD"

# Data sets for the start-up: the sample one as it is, and copies (of
# links) whose first group shows the largest catalogue or the 100x file.
startup_set() {
    local dir=$data/start-$1
    rm -rf "$dir"
    mkdir -p "$dir"
    cp -rs "$sample/dat" "$dir/"
    ln -sf "$2" "$dir/dat/BD/FORAM"
}
startup_set largest "$catalogue"
startup_set x100 "$data/x100.rtf"
startup_sets=(sample="$sample" largest="$data/start-largest" x100="$data/start-x100")

echo "== In process: reading, loading, finding, saving ($reps repetitions)"
QT_QPA_PLATFORM=offscreen "$build/fosdat-bench" \
    --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/view.json" --benchmark_out_format=json \
    "$sample" "$data/x10.rtf" "$data/x100.rtf" "$x10set"

echo "== Ranges through time on the real-shaped data sets ($reps repetitions)"
QT_QPA_PLATFORM=offscreen "$build/fosdat-bench" \
    --benchmark_filter='^Strata(IndexRead|ReadAndCount)/(x10rich|onerich)$' \
    --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/strata-rich.json" --benchmark_out_format=json \
    "$sample" "$x10rich" "$onerich"

echo "== The view on large catalogues: the group chosen, Ctrl+End, PageDown ($reps repetitions)"
QT_QPA_PLATFORM=offscreen "$build/fosdat-bench-scroll" \
    --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/scroll.json" --benchmark_out_format=json \
    "$sample" "${view_files[@]}"

echo "== Loading in the window, one process per file"
# A process still running after load_timeout seconds has hung past its own
# watchdog; its figures are lost and the report says so.
load_timeout=180
# Reference lists too large for the panel: blank lines, one line of words and
# one word.
lists=$data/hostile-lists
mkdir -p "$lists"
[ -f "$lists/blank-lines-10MB.txt" ] ||
    awk 'BEGIN { for (n = 0; n < 5 * 2^20; ++n) printf "\r\n" }' >"$lists/blank-lines-10MB.txt"
[ -f "$lists/one-line-60MB.txt" ] ||
    awk 'BEGIN { for (n = 0; n < 60 * 2^20; n += 36) printf "Ivanov I.I. 1975. Title // Journal. " }' \
        >"$lists/one-line-60MB.txt"
[ -f "$lists/one-word-1MB.txt" ] ||
    awk 'BEGIN { for (n = 0; n < 2^20; ++n) printf "a" }' >"$lists/one-word-1MB.txt"
load_files=("$catalogue" "$data/x100.rtf" "$rich" "$lists"/*.txt)
hostile_generator=$build/tools/hostile/fosdat-hostile-inputs
if [ -z "${HOSTILE_DIR:-}" ] && [ -x "$hostile_generator" ]; then
    HOSTILE_DIR=$data/hostile
    mkdir -p "$HOSTILE_DIR"
    "$hostile_generator" "$HOSTILE_DIR"
fi
if [ -n "${HOSTILE_DIR:-}" ]; then
    load_files+=("$HOSTILE_DIR"/*)
fi
echo "== Print preview of the real-shaped catalogue and of a 52 MB paragraph"
print_files=("$rich")
if [ -n "${HOSTILE_DIR:-}" ] && [ -f "$HOSTILE_DIR/paragraph-52mb.rtf" ]; then
    print_files+=("$HOSTILE_DIR/paragraph-52mb.rtf")
fi
QT_QPA_PLATFORM=offscreen "$build/fosdat-bench" --benchmark_filter='^PrintPreviewBlock/(rich|paragraph-52mb)' \
    --benchmark_out="$results/print.json" --benchmark_out_format=json "$sample" "${print_files[@]}"
for file in "${load_files[@]}"; do
    name=$(basename "$file")
    name=${name%.*}
    out=$results/load-$name.json
    kind=WindowLoad
    [[ $file == *.txt ]] && kind=ReferenceListLoad
    if ! QT_QPA_PLATFORM=offscreen timeout -k 10 "$load_timeout" \
        "$build/fosdat-bench-load" "$sample" "$file" "$out" && [ ! -s "$out" ]; then
        printf '{"benchmarks": [{"name": "%s/%s", "run_name": "%s/%s", "iterations": 0, "error_occurred": true, "error_message": "stopped after %s s"}]}\n' \
            "$kind" "$name" "$kind" "$name" "$load_timeout" >"$out"
    fi
done

startup_options=(--benchmark_repetitions="$startup_runs" --benchmark_report_aggregates_only=true
                 --benchmark_out_format=json)
echo "== Start-up to first paint, offscreen"
QT_QPA_PLATFORM=offscreen "$build/fosdat-bench-startup" "${startup_options[@]}" \
    --benchmark_out="$results/startup-offscreen.json" "$build/fosdat-bench-viewer" "${startup_sets[@]}"
echo "== Start-up to first paint, Xvfb"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" env QT_QPA_PLATFORM=xcb \
    "$build/fosdat-bench-startup" "${startup_options[@]}" \
    --benchmark_out="$results/startup-xcb.json" "$build/fosdat-bench-viewer" "${startup_sets[@]}"

# LibreOffice's private profile is made once, before anything is timed.
profile=$data/libreoffice-profile
soffice=(soffice "-env:UserInstallation=file://$profile" --headless --convert-to txt:Text
         --outdir "$data/libreoffice-out")
soffice_pdf=(soffice "-env:UserInstallation=file://$profile" --headless --convert-to pdf
             --outdir "$data/libreoffice-out")
if [ ! -d "$profile" ]; then
    printf '{\\rtf1 profile}' >"$data/profile.rtf"
    "${soffice[@]}" "$data/profile.rtf" >/dev/null 2>&1
fi

# peer NAME FILE TOOL RUNS WARMUP: one converter on one file, into
# results/peers-NAME-TOOL.json. A run stopped by timeout(1) counts as failed
# and marks the figure as a lower bound.
peer() {
    local name=$1 file=$2 tool=$3 runs=$4 warmup=$5 command
    case $tool in
    rtf2txt) command="$build/rtf2txt $file" ;;
    unrtf) command="timeout -k 10 $peer_timeout unrtf --text $file" ;;
    soffice) command="timeout -k 10 $peer_timeout ${soffice[*]} $file" ;;
    sofficepdf) command="timeout -k 10 $peer_timeout ${soffice_pdf[*]} $file" ;;
    esac
    hyperfine -N -i --style basic --runs "$runs" --warmup "$warmup" \
        --export-json "$results/peers-$name-$tool.json" -n "$tool $name" "$command"
}

echo "== Converters as whole processes"
# Runs of a few milliseconds are the ones a busy machine disturbs most.
peer "$largest" "$catalogue" rtf2txt "$fast_runs" 3
peer "$largest" "$catalogue" unrtf "$fast_runs" 3
peer "$largest" "$catalogue" soffice "$peer_runs" 1
# The PDF export's peer (PdfFromFile in fosdat-bench).
peer "$largest" "$catalogue" sofficepdf "$peer_runs" 1
for name in x10 x100; do
    peer "$name" "$data/$name.rtf" rtf2txt "$fast_runs" 1
    peer "$name" "$data/$name.rtf" soffice "$heavy_runs" 0
done
# unrtf's time grows much faster than its input: minutes on the 100x file,
# so that one is run once.
peer x10 "$data/x10.rtf" unrtf "$heavy_runs" 0
peer x100 "$data/x100.rtf" unrtf 1 0
peer rich "$rich" rtf2txt "$fast_runs" 1
peer rich "$rich" unrtf "$heavy_runs" 0
peer rich "$rich" soffice "$heavy_runs" 0

# rtf2txt's text of the real-shaped catalogue against LibreOffice's, both
# normalised alike: no byte-order mark, no carriage returns, no blank lines
# (where a page break ends a paragraph, LibreOffice writes no empty line and
# rtf2txt one, as the view shows one). Into results/compare-rich.txt.
normalise() { sed -e '1s/^\xef\xbb\xbf//' -e 's/\r$//' -e '/^$/d' "$1"; }
compare_text() {
    local name=$1 ours=$data/$1-rtf2txt.txt theirs=$data/libreoffice-out/$1.txt
    local out=$results/compare-$1.txt lines differing
    "$build/rtf2txt" "$2" >"$ours"
    if [ ! -s "$theirs" ]; then
        echo "not compared: LibreOffice wrote no text" >"$out"
    elif diff <(normalise "$theirs") <(normalise "$ours") >"$results/compare-$1.diff"; then
        echo "equal, $(normalise "$ours" | wc -l) lines" >"$out"
    else
        lines=$(normalise "$ours" | wc -l)
        differing=$(grep -c '^[<>]' "$results/compare-$1.diff" || true)
        echo "differs: $differing lines of $lines (compare-$1.diff)" >"$out"
    fi
    cat "$out"
}
echo "== rtf2txt's text against LibreOffice's"
compare_text rich "$rich"

# What a user finds a genus with today: the text of every catalogue piped to
# grep. The genus is the search benchmarks' own: the first word of the last
# group's last paragraph.
pipeline() {
    local name=$1 dir=$2 genus
    genus=$("$build/rtf2txt" "$dir/dat/BD/VERT3" | tail -n 1 | cut -f 1 | cut -d ' ' -f 1)
    hyperfine -N -i --style basic --runs "$fast_runs" --warmup 3 \
        --export-json "$results/peers-$name-rtf2txtgrep.json" -n "rtf2txt | grep -i $name" \
        "bash -c 'for f in $dir/dat/BD/*; do case \$f in *.txt) ;; *) $build/rtf2txt \$f ;; esac; done | grep -i $genus'"
}
echo "== The search's peer: rtf2txt on every catalogue, piped to grep -i"
pipeline sample "$sample"
pipeline x10set "$x10set"

"$build/fosdat-bench-report" "$results" "$largest" x10 x100 rich >"$summary"
echo
cat "$summary"
echo
echo "Summary written to $summary"
