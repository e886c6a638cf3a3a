#!/usr/bin/env bash
# Starts the installed desktop entries the way a desktop does, through the
# installed launcher, with a stand-in for the program that reports where it
# was started: in a fresh home each time, with and without data sets in the
# places the launcher looks at, with XDG_DATA_HOME set and unset.
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"

for entry in "$main_entry" "$sample_entry"; do
    [ "$entry" = "$main_entry" ] || sample_wanted || continue
    [ "$(entry_value "$entry" TryExec)" = "$launcher" ] || fail "$entry: TryExec is not $launcher"
    [[ "$(entry_value "$entry" Exec)" == "$launcher"* ]] || fail "$entry: Exec does not run $launcher"
    [ -f "$data_dir/icons/hicolor/scalable/apps/$(entry_value "$entry" Icon).svg" ] ||
        fail "$entry: Icon names no installed icon"
done
[ -x "$FOSDAT_ROOT$launcher" ] || fail "the launcher is not installed"

# The launcher copied into a prefix of its own, beside the stand-in.
prefix="$scratch/prefix"
share="$prefix/$FOSDAT_DATADIR/fosdat"
mkdir -p "$scratch/elsewhere" "$scratch/stubs"
cat >"$scratch/stubs/notify-send" <<STUB
#!/bin/sh
echo "\$@" >>"$scratch/notes"
STUB
chmod +x "$scratch/stubs/notify-send"

data_set() {
    mkdir -p "$1/dat/BD"
    printf '{\\rtf1 catalogue}' >"$1/dat/BD/${2:-FORAM}"
}

fresh_tree() {
    rm -rf "$prefix" "${scratch:?}/home" "$scratch/xdg" "$scratch/notes"
    mkdir -p "$prefix/$FOSDAT_BINDIR" "$scratch/home"
    cp "$FOSDAT_ROOT$launcher" "$prefix/$FOSDAT_BINDIR/"
    # shellcheck disable=SC2016 # expanded by the stand-in
    printf '#!/bin/sh\necho "$(pwd -P)|$QT_QPA_PLATFORM"\n' >"$prefix/$FOSDAT_BINDIR/Fosdat"
    chmod +x "$prefix/$FOSDAT_BINDIR/Fosdat"
    data_set "$share/sample"
}

# Runs an entry's command line with the copied launcher in place of the installed one.
start() {
    local entry=$1 command_line
    command_line=$(entry_value "$entry" Exec)
    # shellcheck disable=SC2086 # the entry's arguments, split as a desktop splits them
    (cd "$scratch/elsewhere" && "$prefix/$FOSDAT_BINDIR/fosdat-launch" ${command_line#"$launcher"})
}

checked=0
# name | data sets made | entry | QT_QPA_PLATFORM | where it starts | note shown
while IFS='|' read -r name places entry platform expected noted; do
    [ "$entry" = main ] || sample_wanted || continue
    fresh_tree
    xdg=
    for place in $places; do
        case $place in
        user) data_set "$scratch/home/.local/share/fosdat" ;;
        xdg) xdg="$scratch/xdg" && data_set "$xdg/fosdat" ;;
        xdg-empty) xdg="$scratch/xdg" && mkdir -p "$xdg" ;;
        home) data_set "$scratch/home" ;;
        refs-only) data_set "$scratch/home" REFS1.txt ;;
        system) data_set "$share" ;;
        no-sample) rm -rf "$share/sample" ;;
        esac
    done
    case $expected in
    user) expected="$scratch/home/.local/share/fosdat" ;;
    xdg) expected="$scratch/xdg/fosdat" ;;
    home) expected="$scratch/home" ;;
    system) expected="$share" ;;
    sample) expected="$share/sample" ;;
    esac
    expected="$(cd "$expected" && pwd -P)|${platform:-xcb;wayland}"
    entry_file=$main_entry
    [ "$entry" = main ] || entry_file=$sample_entry
    started=$(
        unset XDG_DATA_HOME QT_QPA_PLATFORM
        export HOME="$scratch/home" PATH="$scratch/stubs:$PATH" LANG=C
        [ -z "$xdg" ] || export XDG_DATA_HOME="$xdg"
        [ -z "$platform" ] || export QT_QPA_PLATFORM="$platform"
        start "$entry_file" 2>"$scratch/stderr"
    ) || fail "$name: the launcher failed: $(cat "$scratch/stderr")"
    [ "$started" = "$expected" ] || fail "$name: started as '$started', not '$expected'"
    if [ "$noted" = yes ]; then
        for _ in $(seq 50); do
            if [ -s "$scratch/notes" ]; then break; fi
            sleep 0.1
        done
        grep -q "fosdat/dat/BD" "$scratch/notes" || fail "$name: no notification of where the data goes"
        grep -q "fosdat/dat/BD" "$scratch/stderr" || fail "$name: nothing on stderr of where the data goes"
    else
        if [ -e "$scratch/notes" ] || [ -s "$scratch/stderr" ]; then
            fail "$name: a note where none is due"
        fi
    fi
    checked=$((checked + 1))
done <<'CASES'
no data set: the sample, and a note||main||sample|yes
~/.local/share/fosdat before ~/dat|user home|main||user|no
XDG_DATA_HOME before ~/.local/share/fosdat|xdg user|main||xdg|no
XDG_DATA_HOME without data: ~/.local/share/fosdat is not looked at|xdg-empty user home|main||home|no
~/dat before the system's|home system|main||home|no
reference lists alone are no data set|refs-only system|main||system|no
no data set and no sample: home, and a note|no-sample|main||home|yes
the sample's entry, whatever else there is|user|sample||sample|no
the user's platform choice is kept|user|main|offscreen|user|no
CASES
echo "$checked starts went where their data set lies"
