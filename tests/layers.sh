#!/usr/bin/env bash
# Every dependency points down: each folder includes its own headers and those
# of the folders it may use, and find/ of search/ only the result type.
# diversity/ matches text as the find dialog does (search/'s TextMatcher) and
# scans the search index's texts. catalogue/ is the one reader of catalogue
# text, below search/ and diversity/: it alone takes the text of an RTF file
# (richtext/'s text-only reader) and reads genus entries from it.
set -euo pipefail
root=${1:-$(dirname "$0")/..}
declare -A uses=(
    [app]="app find diversity search catalogue strata richtext data"
    [find]="find"
    [diversity]="diversity search catalogue strata data"
    [search]="search catalogue strata data"
    [catalogue]="catalogue strata data"
    [strata]="strata"
    [richtext]="richtext"
    [data]="data"
)
declare -A extra=([find]="search/SearchResults.h" [catalogue]="richtext/RtfText.h")
status=0
for folder in "${!uses[@]}"; do
    for file in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
        while read -r header; do
            [[ $header == ui_*.h ]] && continue # made by the build from the folder's .ui
            found=""
            for used in ${uses[$folder]} ${extra[$folder]:-}; do
                if [[ $used == */* ]]; then
                    [[ ${used##*/} == "$header" ]] && found=$used
                elif [[ -e $root/$used/$header ]]; then
                    found=$used
                fi
                [[ -n $found ]] && break
            done
            if [[ -z $found ]]; then
                echo "${file#"$root"/} includes \"$header\", which $folder/ may not use"
                status=1
            fi
        done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
    done
done

# No second reader of catalogue text: outside catalogue/, no code of the
# program takes a file's plain text or reads genus entries from a text. The
# catalogue view reads its document (rtf::read()), rtf2txt converts any RTF
# file, and the benchmarks time the readers themselves.
while read -r file; do
    echo "$file reads catalogue text besides catalogue/ (rtf::readText or readGenusEntries)"
    status=1
done < <(cd "$root" && grep -lP '^(?!\s*//).*\b(readText|readGenusEntries)\(' \
    app/*.cpp app/*.h find/*.cpp find/*.h diversity/*.cpp diversity/*.h search/*.cpp \
    search/*.h tools/*.cpp | grep -v '^tools/rtf2txt\.cpp$' || true)
exit $status
