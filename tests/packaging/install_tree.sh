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
    for command in Fosdat fosdat fosdat-launch fosdat-rtf2txt fosdat-ranges; do
        echo "$prefix/$FOSDAT_BINDIR/$command"
    done
    for page in Fosdat fosdat fosdat-launch fosdat-rtf2txt fosdat-ranges; do
        echo "$prefix/$FOSDAT_MANDIR/man1/$page.1.gz"
        echo "$prefix/$FOSDAT_MANDIR/ru/man1/$page.1.gz"
    done
    echo "$prefix/$FOSDAT_DATADIR/applications/$id.desktop"
    echo "$prefix/$FOSDAT_DATADIR/metainfo/$FOSDAT_COMPONENT_ID.metainfo.xml"
    for size in 16 32 48 64 128 256; do
        echo "$prefix/$FOSDAT_DATADIR/icons/hicolor/${size}x$size/apps/$id.png"
    done
    echo "$prefix/$FOSDAT_DATADIR/icons/hicolor/scalable/apps/$id.svg"
    echo "$prefix/$FOSDAT_DOCDIR/fosdat/changelog.gz"
    echo "$prefix/$FOSDAT_DOCDIR/fosdat/copyright"
    echo "$prefix/$FOSDAT_DATADIR/lintian/overrides/fosdat"
    if sample_wanted; then
        echo "$prefix/$FOSDAT_DATADIR/applications/$id.Sample.desktop"
        echo "$prefix/$FOSDAT_DOCDIR/fosdat-sample/changelog.gz"
        echo "$prefix/$FOSDAT_DOCDIR/fosdat-sample/copyright"
        echo "$prefix/$FOSDAT_DATADIR/lintian/overrides/fosdat-sample"
        files_below "$FOSDAT_BUILD_DIR/sample" | grep '^dat/' |
            sed "s|^|${sample_dir#/}/|"
    fi
} | LC_ALL=C sort >"$scratch/expected"
files_below "$FOSDAT_ROOT" >"$scratch/installed"
diff -u "$scratch/expected" "$scratch/installed" || fail "installed files differ from the expected list"

for command in Fosdat fosdat-launch fosdat-rtf2txt fosdat-ranges; do
    [ -x "$bin_dir/$command" ] || fail "$command is not executable"
done
[ "$(readlink "$bin_dir/fosdat")" = Fosdat ] || fail "fosdat is not a link to Fosdat"
gzip -t "$prefix_dir/$FOSDAT_MANDIR"/{,ru/}man1/Fosdat.1.gz "$prefix_dir/$FOSDAT_DOCDIR/fosdat/changelog.gz" ||
    fail "a compressed page does not decompress"
if sample_wanted; then
    for file in dat/BD/FORAM dat/BD/REFS1.txt dat/BD/REFS2.txt dat/BD/REFS3.txt dat/sound/menu.wav; do
        [ -s "$FOSDAT_ROOT$sample_dir/$file" ] || fail "sample lacks $file"
    done
    diff -r "$FOSDAT_BUILD_DIR/sample/dat" "$FOSDAT_ROOT$sample_dir/dat" ||
        fail "installed sample differs from the generated one"
fi

# The entries follow the launcher to whatever prefix it is installed in.
other=/opt/fosdat
DESTDIR="$scratch/other" "$CMAKE_COMMAND" --install "$FOSDAT_BUILD_DIR" --prefix "$other" >/dev/null
for entry in "$id.desktop" "$id.Sample.desktop"; do
    [ "$entry" = "$id.desktop" ] || sample_wanted || continue
    try_exec=$(entry_value "$scratch/other$other/$FOSDAT_DATADIR/applications/$entry" TryExec)
    [ "$try_exec" = "$other/$FOSDAT_BINDIR/fosdat-launch" ] ||
        fail "installed in $other, $entry tries $try_exec"
done
echo "installed $(wc -l <"$scratch/installed") files as expected"
