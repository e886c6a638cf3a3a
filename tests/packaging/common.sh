# shellcheck shell=bash disable=SC2034 # the paths are for the checks that source this
# Shared by the packaging checks; sourced, not run.
# From the test's environment: FOSDAT_BUILD_DIR, FOSDAT_ROOT (the tree installed
# by the install check), FOSDAT_PREFIX, FOSDAT_BINDIR, FOSDAT_DATADIR,
# FOSDAT_DOCDIR, FOSDAT_MANDIR, FOSDAT_APP_ID, FOSDAT_COMPONENT_ID, FOSDAT_SAMPLE
# (ON or OFF), FOSDAT_VERSION, CMAKE_COMMAND, CPACK_COMMAND.
set -euo pipefail

readonly SKIP=77
prefix_dir="$FOSDAT_ROOT$FOSDAT_PREFIX"
bin_dir="$prefix_dir/$FOSDAT_BINDIR"
data_dir="$prefix_dir/$FOSDAT_DATADIR"
main_entry="$data_dir/applications/$FOSDAT_APP_ID.desktop"
sample_entry="$data_dir/applications/$FOSDAT_APP_ID.Sample.desktop"
sample_dir="$FOSDAT_PREFIX/$FOSDAT_DATADIR/fosdat/sample"
launcher="$FOSDAT_PREFIX/$FOSDAT_BINDIR/fosdat-launch" # as the entries name it

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Skips the test when a tool is missing; $2 names the Debian package that has it.
need_tool() {
    command -v "$1" >/dev/null || {
        echo "SKIP: '$1' is not installed (Debian package $2)"
        exit $SKIP
    }
}

sample_wanted() { [ "$FOSDAT_SAMPLE" = ON ]; }

# A scratch directory, removed when the script ends.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The value of `key` in a desktop entry's main group.
entry_value() {
    sed -n "/^\[Desktop Entry\]/,/^\[/s/^$2=//p" "$1"
}

# Every file below a directory, as sorted paths relative to it.
files_below() {
    (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
}
