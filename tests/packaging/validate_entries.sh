#!/usr/bin/env bash
# The installed desktop entries as desktop-file-validate sees them.
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"
need_tool desktop-file-validate desktop-file-utils

entries=("$main_entry")
sample_wanted && entries+=("$sample_entry")
for entry in "${entries[@]}"; do
    desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
done
echo "valid: ${entries[*]##*/}"
