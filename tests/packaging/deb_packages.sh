#!/usr/bin/env bash
# Builds the Debian packages with cpack into a scratch directory and checks
# their control fields and that together they hold exactly the installed tree,
# each file in its own package; with lintian installed, that it finds nothing
# to warn of.
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"
need_tool dpkg-deb dpkg
need_tool dpkg-shlibdeps dpkg-dev

"$CPACK_COMMAND" --config "$FOSDAT_BUILD_DIR/CPackConfig.cmake" -B "$scratch/out" \
    >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; fail "cpack failed"; }

main_deb="$scratch/out/fosdat_${FOSDAT_VERSION}_$(dpkg --print-architecture).deb"
sample_deb="$scratch/out/fosdat-sample_${FOSDAT_VERSION}_all.deb"
expected_debs=("$main_deb")
sample_wanted && expected_debs+=("$sample_deb")
diff <(printf "%s\n" "${expected_debs[@]##*/}" | sort) \
    <(find "$scratch/out" -maxdepth 1 -name "*.deb" -printf "%f\n" | sort) ||
    fail "cpack wrote other packages than expected"

field() { dpkg-deb -f "$1" "$2"; }
has_dependency() { grep -qE "(^|, )$2( \(|,|$)" <<<"$(field "$1" Depends)"; }

[ "$(field "$main_deb" Package)" = fosdat ] || fail "main package is not named fosdat"
[ "$(field "$main_deb" Version)" = "$FOSDAT_VERSION" ] || fail "main package version"
# The Qt libraries found by dpkg-shlibdeps (libqt6gui6 brings the X11 platform
# plugin), and what is loaded at run time.
for dep in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 fonts-liberation \
    qt6-translations-l10n; do
    has_dependency "$main_deb" "$dep" || fail "fosdat does not depend on $dep: $(field "$main_deb" Depends)"
done

mkdir "$scratch/main" "$scratch/all"
dpkg-deb -x "$main_deb" "$scratch/main"
for deb in "${expected_debs[@]}"; do dpkg-deb -x "$deb" "$scratch/all"; done
diff -u <(files_below "$FOSDAT_ROOT") <(files_below "$scratch/all") ||
    fail "the packages do not hold exactly the installed files"
! files_below "$scratch/main" | grep -q '/fosdat/sample/' || fail "fosdat holds sample files"
for program in Fosdat fosdat-rtf2txt fosdat-ranges; do
    binary="$scratch/main/$FOSDAT_PREFIX/$FOSDAT_BINDIR/$program"
    if command -v file >/dev/null; then
        file -L "$binary" | grep -q ', stripped' || fail "the packaged $program keeps its symbols"
    fi
    ! LC_ALL=C readelf -S "$binary" | grep -q '\.comment' || fail "the packaged $program keeps .comment"
done

if sample_wanted; then
    [ "$(field "$sample_deb" Package)" = fosdat-sample ] || fail "sample package name"
    [ "$(field "$sample_deb" Architecture)" = all ] || fail "sample package is not Architecture: all"
    [ "$(field "$sample_deb" Depends)" = "fosdat (= $FOSDAT_VERSION)" ] || fail "sample package Depends"
    mkdir "$scratch/sample"
    dpkg-deb -x "$sample_deb" "$scratch/sample"
    ! files_below "$scratch/sample" | grep -q "^${FOSDAT_PREFIX#/}/$FOSDAT_BINDIR/" ||
        fail "fosdat-sample holds programs"
    [ "$(entry_value "$scratch/sample${sample_entry#"$FOSDAT_ROOT"}" Exec)" = "$launcher --sample" ] ||
        fail "the packaged sample entry does not run $launcher --sample"
fi

if command -v lintian >/dev/null; then
    lintian -EvIL +pedantic "${expected_debs[@]}" >"$scratch/lintian.log" 2>&1 || true
    ! grep -E '^[EW]: ' "$scratch/lintian.log" || fail "lintian finds errors or warnings"
    echo "lintian: no errors or warnings"
else
    echo "lintian is not installed (Debian package lintian): packages not checked by it"
fi
echo "packages: ${expected_debs[*]##*/}"
