#!/usr/bin/env bash
# Checks every installed manual page, in English and in Russian: each renders
# as lintian renders it, without a warning, and gives man's index its name
# line; each command has a page in both languages, and `man -L ru` finds the
# Russian one; every option a command's --help lists is in both its pages.
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"
need_tool man man-db
need_tool lexgrog man-db

man_dir="$prefix_dir/$FOSDAT_MANDIR"
pages_in() { (cd "$man_dir/$1" && find . -name '*.1.gz' -printf '%f\n' | LC_ALL=C sort); }
diff -u <(pages_in man1) <(pages_in ru/man1) || fail "the English and Russian pages differ in names"
[ -n "$(pages_in ru/man1)" ] || fail "no Russian pages in $man_dir/ru/man1"

for page in "$man_dir"/man1/*.1.gz "$man_dir"/ru/man1/*.1.gz; do
    name=${page#"$man_dir/"}
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$name renders with warnings: $warnings"
    lexgrog "$page" >/dev/null || fail "$name has no name line for man's index"
done

# What `man -L ru` and `man -L en` show for each command: the page of its
# language. (man looks in the languages' folders of a MANPATH, not of a -M.)
rendered() { LC_ALL=C.UTF-8 MANWIDTH=80 MANPATH="$man_dir" man -L "$1" "$2" 2>&1; }
for page in $(pages_in man1); do
    command=${page%.1.gz}
    found=$(LC_ALL=C.UTF-8 MANPATH="$man_dir" man -L ru -w "$command")
    [ "$(realpath "$found")" = "$(realpath "$man_dir/ru/man1/$page")" ] ||
        fail "man -L ru $command finds $found, not $man_dir/ru/man1/$page"
    rendered ru "$command" | grep -q '^ОПИСАНИЕ' || fail "man -L ru $command is not the Russian page"
    rendered en "$command" | grep -q '^DESCRIPTION' || fail "man -L en $command is not the English page"
done

# The options each command takes, from its own --help, against both its pages:
# each heads an entry of their list of options (a line of its own that starts
# with it). The help options themselves are left to --help.
for command in fosdat-ranges fosdat-launch; do
    options=$("$bin_dir/$command" --help 2>&1 | grep -oE -- '--[a-z][a-z-]*' | grep -v -- '^--help' | sort -u || true)
    [ -n "$options" ] || fail "$command --help lists no option"
    for language in en ru; do
        text=$(rendered "$language" "$command")
        for option in $options; do
            grep -qE -- "^ +$option( |,|\$)" <<<"$text" ||
                fail "man -L $language $command does not describe $option"
        done
    done
done
echo "manual pages: $(pages_in man1 | wc -l) commands in English and Russian, rendered without warnings"
