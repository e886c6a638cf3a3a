#!/usr/bin/env bash
# The installed AppStream metadata on its own, and the installed tree around it
# (launchable desktop entry, icons) as a software centre would read them.
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"
need_tool appstreamcli appstream

metainfo="$data_dir/metainfo/$FOSDAT_APP_ID.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || fail "$metainfo does not validate"
appstreamcli validate-tree --no-net "$prefix_dir" || fail "the installed tree does not validate"
grep -q "<release version=\"$FOSDAT_VERSION\"" "$metainfo" || fail "no release $FOSDAT_VERSION"
