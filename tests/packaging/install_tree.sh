#!/usr/bin/env bash
# Installs the whole project into a fresh staging tree, as a package would, and
# checks that exactly the expected files arrive there.
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"

rm -rf "$FOSDAT_ROOT"
DESTDIR="$FOSDAT_ROOT" "$CMAKE_COMMAND" --install "$FOSDAT_BUILD_DIR" --prefix "$FOSDAT_PREFIX" \
    >"$scratch/install.log" || { cat "$scratch/install.log"; fail "cmake --install failed"; }

id="$FOSDAT_APP_ID"
prefix="${FOSDAT_PREFIX#/}"
{
    echo "$prefix/$FOSDAT_BINDIR/Fosdat"
    echo "$prefix/$FOSDAT_DATADIR/applications/$id.desktop"
    echo "$prefix/$FOSDAT_DATADIR/metainfo/$id.metainfo.xml"
    echo "$prefix/$FOSDAT_DATADIR/icons/hicolor/16x16/apps/$id.png"
    echo "$prefix/$FOSDAT_DATADIR/icons/hicolor/32x32/apps/$id.png"
    echo "$prefix/$FOSDAT_DATADIR/icons/hicolor/scalable/apps/$id.svg"
    echo "$prefix/$FOSDAT_DOCDIR/fosdat/copyright"
    if sample_wanted; then
        echo "$prefix/$FOSDAT_DATADIR/applications/$id.Sample.desktop"
        echo "$prefix/$FOSDAT_DOCDIR/fosdat-sample/copyright"
        files_below "$FOSDAT_BUILD_DIR/sample" | grep '^dat/' |
            sed "s|^|${sample_dir#/}/|"
    fi
} | LC_ALL=C sort >"$scratch/expected"
files_below "$FOSDAT_ROOT" >"$scratch/installed"
diff -u "$scratch/expected" "$scratch/installed" || fail "installed files differ from the expected list"

[ -x "$bin_dir/Fosdat" ] || fail "Fosdat is not executable"
if sample_wanted; then
    for file in dat/BD/FORAM dat/BD/REFS1.txt dat/BD/REFS2.txt dat/BD/REFS3.txt dat/sound/menu.wav; do
        [ -s "$FOSDAT_ROOT$sample_dir/$file" ] || fail "sample lacks $file"
    done
    diff -r "$FOSDAT_BUILD_DIR/sample/dat" "$FOSDAT_ROOT$sample_dir/dat" ||
        fail "installed sample differs from the generated one"

    # The sample's entry follows the sample to whatever prefix it is installed in.
    other=/opt/fosdat
    DESTDIR="$scratch/other" "$CMAKE_COMMAND" --install "$FOSDAT_BUILD_DIR" --prefix "$other" \
        --component sample >/dev/null
    path=$(entry_value "$scratch/other$other/$FOSDAT_DATADIR/applications/$id.Sample.desktop" Path)
    [ "$path" = "$other/$FOSDAT_DATADIR/fosdat/sample" ] || fail "installed in $other, the sample entry starts in $path"
fi
echo "installed $(wc -l <"$scratch/installed") files as expected"
