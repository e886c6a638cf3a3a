#!/usr/bin/env bash
# Starts each installed desktop entry the way a launcher does, with a stand-in
# for the program that reports its working directory: the main entry must start
# it in the home directory, the sample's inside the installed sample data set.
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"

mkdir -p "$scratch/bin" "$scratch/home" "$scratch/elsewhere"
cat >"$scratch/bin/Fosdat" <<'STANDIN'
#!/bin/sh
pwd -P
STANDIN
chmod +x "$scratch/bin/Fosdat"

# Runs an entry's command line from an unrelated directory; prints where the
# program started. The entries quote their arguments as a POSIX shell does.
launch() {
    local entry="$1" dir command_line
    command_line=$(entry_value "$entry" Exec)
    dir=$(entry_value "$entry" Path)
    [ -n "$command_line" ] || fail "$entry has no Exec"
    (
        cd "$scratch/elsewhere" || exit
        if [ -n "$dir" ]; then cd "$FOSDAT_ROOT$dir" || exit; fi
        export HOME="$scratch/home" PATH="$scratch/bin:$PATH"
        eval "$command_line"
    )
}

check_names_program() {
    [ "$(entry_value "$1" TryExec)" = Fosdat ] || fail "$1: TryExec does not name Fosdat"
    [ -x "$bin_dir/$(entry_value "$1" TryExec)" ] || fail "$1: TryExec is not the installed program"
    [ -f "$data_dir/icons/hicolor/scalable/apps/$(entry_value "$1" Icon).svg" ] ||
        fail "$1: Icon names no installed icon"
}

check_names_program "$main_entry"
started=$(launch "$main_entry")
[ "$started" = "$(cd "$scratch/home" && pwd -P)" ] ||
    fail "main entry starts the program in '$started', not in the home directory"

if sample_wanted; then
    check_names_program "$sample_entry"
    [ "$(entry_value "$sample_entry" Path)" = "$sample_dir" ] ||
        fail "sample entry's Path is not $sample_dir"
    started=$(launch "$sample_entry")
    [ -f "$started/dat/BD/FORAM" ] || fail "sample entry starts the program in '$started', without dat"
fi
echo "entries start the program where its data set lies"
