#!/usr/bin/env bash
# Every dependency points down: each folder includes its own headers and those
# of the folders it may use, and find/ of search/ only the result type.
# diversity/ matches text as the find dialog does (search/'s TextMatcher).
set -euo pipefail
root=${1:-$(dirname "$0")/..}
declare -A uses=(
    [app]="app find diversity search strata richtext data"
    [find]="find"
    [diversity]="diversity strata search data"
    [strata]="strata"
    [search]="search richtext data"
    [richtext]="richtext"
    [data]="data"
)
declare -A extra=([find]="search/SearchResults.h")
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
exit $status
