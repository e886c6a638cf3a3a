#!/usr/bin/env bash
# Starts the installed desktop entries the way a desktop does, through the
# installed launcher, with a stand-in for the program that reports where it
# was started: in a fresh home each time, with and without data sets in the
# places the launcher looks at, with XDG_DATA_HOME set and unset, and with
# HOME unset, empty or relative (then the passwd entry's home, from a
# stand-in for getent, or the one spelled).
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
# The user's passwd entry names $scratch/pwhome, unless $scratch/no-passwd says there is none.
cat >"$scratch/stubs/getent" <<STUB
#!/bin/sh
[ "\$*" = "passwd \$(id -u)" ] || exit 2
[ -e "$scratch/no-passwd" ] && exit 2
echo "someone:x:\$(id -u):\$(id -g)::$scratch/pwhome:/bin/sh"
STUB
chmod +x "$scratch/stubs/getent"

data_set() {
    mkdir -p "$1/dat/BD"
    printf '{\\rtf1 catalogue}' >"$1/dat/BD/${2:-FORAM}"
}

fresh_tree() {
    rm -rf "$prefix" "${scratch:?}/home" "$scratch/pwhome" "$scratch/elsewhere" "$scratch/xdg" \
        "$scratch/notes" "$scratch/no-passwd"
    mkdir -p "$prefix/$FOSDAT_BINDIR" "$scratch/elsewhere"
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
# name | data sets made | entry | QT_QPA_PLATFORM | where it starts | note shown | HOME
# (HOME: "" a home of its own, "unset" or "empty" the passwd entry's, "none"
# unset without a passwd entry, else as spelled, relative to where it starts)
while IFS='|' read -r name places entry platform expected noted home_spelled; do
    [ "$entry" = main ] || sample_wanted || continue
    fresh_tree
    case $home_spelled in
    "") home="$scratch/home" ;;
    unset | empty) home="$scratch/pwhome" ;;
    none) home="$scratch/elsewhere" && touch "$scratch/no-passwd" ;;
    *) home="$scratch/elsewhere/$home_spelled" ;;
    esac
    mkdir -p "$home"
    xdg=
    for place in $places; do
        case $place in
        user) data_set "$home/.local/share/fosdat" ;;
        xdg) xdg="$scratch/xdg" && data_set "$xdg/fosdat" ;;
        xdg-empty) xdg="$scratch/xdg" && mkdir -p "$xdg" ;;
        home) data_set "$home" ;;
        refs-only) data_set "$home" REFS1.txt ;;
        system) data_set "$share" ;;
        no-sample) rm -rf "$share/sample" ;;
        esac
    done
    case $expected in
    user) expected="$home/.local/share/fosdat" ;;
    xdg) expected="$scratch/xdg/fosdat" ;;
    home) expected="$home" ;;
    system) expected="$share" ;;
    sample) expected="$share/sample" ;;
    esac
    expected="$(cd "$expected" && pwd -P)|${platform:-xcb;wayland}"
    entry_file=$main_entry
    [ "$entry" = main ] || entry_file=$sample_entry
    started=$(
        unset XDG_DATA_HOME QT_QPA_PLATFORM HOME
        case $home_spelled in
        "") export HOME="$scratch/home" ;;
        unset | none) ;;
        empty) export HOME= ;;
        *) export HOME="$home_spelled" ;;
        esac
        export PATH="$scratch/stubs:$PATH" LANG=C
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
HOME unset: the passwd entry's home|home|main||home|no|unset
HOME empty: the passwd entry's home|user|main||user|no|empty
HOME relative, with a leading dash|user|main||user|no|-my home
no data set and no sample, HOME with a leading dash: that home, and a note|no-sample|main||home|yes|-my home
no home at all: where it was started, and a note|no-sample|main||home|yes|none
CASES
echo "$checked starts went where their data set lies"
