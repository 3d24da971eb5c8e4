#!/usr/bin/env bash
# Takes the manual's pictures of the real program under Xvfb: manual/images/*.png in
# English, manual/de/images/*.png in German.
# usage: manual/take-screenshots.sh BUILD_DIR     (needs xvfb-run, xdotool, ImageMagick)
set -euo pipefail
manual=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take-screenshots.sh BUILD_DIR}" && pwd)
work=$(mktemp -d /tmp/brisko-shots.XXXXXX)
trap 'rm -rf "$work"' EXIT

# A program folder of its own, with settings present (no first-run manual) and the
# sample folder beside it.
program=$work/program
mkdir -p "$program"
cp -r "$build/bin/brisko" "$build/bin/locale" "$build/bin/CreatorIDs.ini" "$program/"
cp -a "$build/bin/examples" "$work/examples"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
# No Wine prefix: the desktop of a user without a Palm Desktop, so no message at the start.
export WINEPREFIX=$work/no-wine

# shot OUT.png LANGUAGE "xdotool steps" WINDOW_TITLE_REGEX|"" ARGUMENT
# Starts Brisko on ARGUMENT in LANGUAGE (the setting and the desktop's locale, so that
# Qt's own texts and the dates are in it too), runs the steps and takes the window whose
# title matches (the main window when empty).
shot() {
    local out=$1 language=$2 steps=$3 title=$4 argument=$5
    printf '[Brisko]\r\nLanguage=%s\r\nMainWindowWidth=1080\r\nMainWindowHeight=700\r\n' \
        "$language" > "$program/Brisko.ini"
    rm -rf "$program/Temp"
    local lang=en_US.UTF-8
    [ "$language" = de ] && lang=de_DE.UTF-8
    LANG=$lang xvfb-run -a -s "-screen 0 1100x760x24" bash -c '
        "$1" "$2" & pid=$!
        sleep 4.5
        eval "$3"; sleep 1
        status=0
        if [ -n "$4" ]; then
            window=$(xdotool search --onlyvisible --name "$4" | tail -1)
            if [ -n "$window" ]; then import -window "$window" "$5"; else status=1; fi
        else
            # The main window with what is open over it (a popup menu).
            eval "$(xdotool getwindowgeometry --shell \
                "$(xdotool search --onlyvisible --name "^Brisko -" | tail -1)")"
            import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$5"
        fi
        kill $pid
        exit $status' _ "$program/brisko" "$argument" "$steps" "$title" "$out" || return 1
    echo "wrote $out"
}

# The steps: a click on MemoDB.pdb's row gives the list the keyboard focus.
focus="xdotool mousemove 330 213 click 1; sleep 0.5"
shot_of() {
    local out=$1 language=$2 steps=$3 title=$4
    shot "$out" "$language" "$focus; $steps" "$title" "$work/examples/MemoDB.pdb" ||
        { echo "no window \"$title\" for $out" >&2; return 1; }
}

for language in en de; do
    # The menus' and pages' access keys, the dialogs' titles (as xdotool's patterns).
    if [ "$language" = en ]; then
        images=$manual/images view=alt+v help=alt+h display=alt+d
        copy=Copy options=Options about=^About
        export=Export report="Export report" target="/tmp/Palm export"
    else
        images=$manual/de/images view=alt+a help=alt+h display=alt+n
        copy=Kopieren options=Optionen about=ber
        export=Exportieren report=Exportbericht target=/tmp/Palm-Export
    fi
    mkdir -p "$images"
    shot "$images/main-window.png" $language "" "" "$work/examples/MemoDB.pdb"
    shot "$images/archive-view.png" $language "xdotool mousemove 330 141 click 1" "" \
        "$work/examples/Backup2006.zip"
    shot_of "$images/popup-menu.png" $language "xdotool click 3" ""
    convert "$images/popup-menu.png" -crop 560x262+224+114 +repage "$images/popup-menu.png"
    shot_of "$images/copy-move.png" $language "xdotool key F5" "^$copy"
    shot_of "$images/options-general.png" $language "xdotool key $view Up Return" "^$options"
    shot_of "$images/options-display.png" $language \
        "xdotool key $view Up Return; sleep 1; xdotool key $display" "^$options"
    shot_of "$images/creator-ids.png" $language "xdotool key $view Up Up Return" "^Creator"
    shot_of "$images/about.png" $language "xdotool key $help Up Return" "$about"
    # Export of every sample file, into a folder of a readable name made anew.
    rm -rf "$target"
    exporting="xdotool key ctrl+a ctrl+e; sleep 1; xdotool type '$target'"
    shot_of "$images/export-dialog.png" $language "$exporting" "^$export\$"
    shot_of "$images/export-report.png" $language "$exporting; xdotool key Return; sleep 1.5" \
        "^$report"
    rm -rf "$target"
done
