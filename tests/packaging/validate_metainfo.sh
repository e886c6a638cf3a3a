#!/usr/bin/env bash
# The installed AppStream metadata on its own, and the installed tree around it
# (launchable desktop entry, icons) as a software centre would read them.
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"
need_tool appstreamcli appstream

metainfo="$data_dir/metainfo/$FOSDAT_COMPONENT_ID.metainfo.xml"
# Clean means without even a pedantic remark, which leaves the exit status 0.
validate() {
    appstreamcli "$@" >"$scratch/out" 2>&1 || { cat "$scratch/out"; return 1; }
    cat "$scratch/out"
    ! grep -qE '^ *[EWIP]: ' "$scratch/out"
}
validate validate --pedantic --no-net "$metainfo" || fail "$metainfo does not validate cleanly"
validate validate-tree --pedantic --no-net "$prefix_dir" || fail "the installed tree does not validate cleanly"
grep -q "<release version=\"$FOSDAT_VERSION\"" "$metainfo" || fail "no release $FOSDAT_VERSION"
