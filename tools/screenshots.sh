#!/bin/sh
# Takes the README's screenshots from the real programs on a virtual X server with a window
# manager, so they can be made again whenever the look changes:
#
#   tools/screenshots.sh [--app FOLDER] [--out FOLDER] [--language english|russian]
#                        [--project FILE] [--name NAME] [STEP...]
#
# Steps:
#   editor   the editor's main window in --language (default english) with --project open
#            (default: the Quiz sample), written as NAME.png (default: editor-LANGUAGE)
#   small    the whole screen of 1024 x 768 with the editor in Russian and the Quiz sample as it
#            first opens there: editor-small-screen.png
#   runner   a message window and a progress window of a built program in both project styles:
#            message-system.png, progress-system.png, message-skinned.png, progress-skinned.png
#   web      the web page built from the same sample in both styles, in headless Chromium:
#            web-system.png, web-skinned.png
# Without steps it takes all the README shows (make screenshots): the editor in English with the
# Quiz sample, in Russian with the FormatC sample and on a small screen, the runner's windows and
# the web page.
#
# Needs the Debian packages xvfb, openbox, xdotool and imagemagick (optipng, when present, makes
# the pictures smaller), chromium for the web page, and a built program folder (make build).
# Nothing outside a scratch folder is touched: the editor gets its own settings.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
app=$here/build/app
out=$here/docs/screenshots
language=english
project=
name=
steps=

while [ $# -gt 0 ]; do
    case $1 in
        --app) app=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        --language) language=$2; shift 2 ;;
        --project) project=$(cd "$(dirname "$2")" && pwd)/$(basename "$2"); shift 2 ;;
        --name) name=$2; shift 2 ;;
        editor|small|runner|web) steps="$steps $1"; shift ;;
        *) echo "screenshots.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

for tool in Xvfb:xvfb openbox:openbox xdotool:xdotool import:imagemagick; do
    command -v "${tool%%:*}" >/dev/null 2>&1 ||
        { echo "screenshots.sh: ${tool%%:*} is missing (Debian package ${tool#*:})" >&2; exit 1; }
done
[ -x "$app/tavlen" ] && [ -x "$app/Runner/run" ] ||
    { echo "screenshots.sh: no built program folder at $app (make build)" >&2; exit 1; }

scratch=$(mktemp -d)
pids=
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT INT TERM

# start_display WIDTHxHEIGHT: a virtual X server of that size with openbox, as DISPLAY. The
# server picks a free display and writes its number to the pipe.
start_display() {
    rm -f "$scratch/display"
    mkfifo "$scratch/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$scratch/display" 2>/dev/null &
    pids="$pids $!"
    read -r number <"$scratch/display"
    export DISPLAY=":$number"
    openbox --sm-disable >/dev/null 2>&1 &
    pids="$pids $!"
    sleep 1
}
start_display 1600x900

# The programs as a user has them: a private copy of the folder and settings of their own.
cp -R "$app" "$scratch/app"
app=$scratch/app
export XDG_CONFIG_HOME="$scratch/config"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
mkdir -p "$out" "$XDG_CONFIG_HOME/Kestrane"

# Lossless, only smaller, so the pictures weigh little in the repository.
shrink() {
    ! command -v optipng >/dev/null 2>&1 || optipng -quiet -o2 -strip all "$1"
    echo "wrote $1"
}

# The id of the first visible window whose title matches and that is at least min_width wide.
wait_for_window() {
    pattern=$1
    min_width=${2:-0}
    tries=0
    while [ $tries -lt 100 ]; do
        for id in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
            width=$(xdotool getwindowgeometry "$id" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
            if [ "${width:-0}" -ge "$min_width" ]; then
                echo "$id"
                return 0
            fi
        done
        tries=$((tries + 1))
        sleep 0.2
    done
    echo "screenshots.sh: no window \"$pattern\" appeared" >&2
    return 1
}

# The window with its frame, as the window manager draws it; the pointer is moved out of the way.
capture() {
    xdotool mousemove 1590 890
    sleep 0.5
    import -window "$1" -frame "$out/$2.png"
    shrink "$out/$2.png"
}

# shot_editor LANGUAGE PROJECT NAME
shot_editor() {
    printf '[Options]\n0=%s.lang\n1=%s/Themes/standart.tvth\n' "$1" "$app" \
        >"$XDG_CONFIG_HOME/Kestrane/tavlen.ini"
    "$app/tavlen" --no-splash "$2" >/dev/null 2>&1 &
    editor=$!
    pids="$pids $editor"
    main=$(wait_for_window "\\[$(basename "$2")\\]" 600)
    # Wider than at its first start, so the picture of the flow shows large, and fitted whole
    # into its view by the Fit button, which sits at the left under the picture at this size.
    xdotool windowsize --sync "$main" 1480 780
    sleep 0.5
    xdotool mousemove --window "$main" 955 584 click 1
    capture "$main" "$3"
    kill "$editor"
}

# The editor as it first opens on a screen of 1024 x 768, and the whole screen around it.
shot_small() {
    wide=$DISPLAY
    start_display 1024x768
    printf '[Options]\n0=russian.lang\n1=%s/Themes/standart.tvth\n' "$app" \
        >"$XDG_CONFIG_HOME/Kestrane/tavlen.ini"
    "$app/tavlen" --no-splash "$app/Samples/Quiz.dlg2" >/dev/null 2>&1 &
    editor=$!
    pids="$pids $editor"
    wait_for_window '\[Quiz.dlg2\]' 600 >/dev/null
    xdotool mousemove 1020 760
    sleep 1
    import -window root "$out/editor-small-screen.png"
    shrink "$out/editor-small-screen.png"
    kill "$editor"
    export DISPLAY="$wide"
}

# The DeskCleanup sample in the given project style (the first byte of the header record holds
# it), in a folder of its own: prints the folder.
sample_in_style() {
    folder=$scratch/program-$1
    mkdir -p "$folder"
    {
        printf '%s' "$1"
        tail -c +2 "$app/Samples/DeskCleanup.dlg2"
    } >"$folder/DeskCleanup.dlg2"
    echo "$folder"
}

# A program built by "tavlen --build" from the DeskCleanup sample in the given project style,
# started as its user would start it.
start_built_program() {
    folder=$(sample_in_style "$1")
    "$app/tavlen" --quiet --build "$folder/DeskCleanup.dlg2" -o "$folder/cleanup"
    (cd "$folder" && exec ./cleanup) >/dev/null 2>&1 &
    echo $!
}

# The sample's first step is a message; its first button leads on to a progress step.
shot_runner() {
    for style in 0 1; do
        look=$([ "$style" = 0 ] && echo system || echo skinned)
        pid=$(start_built_program "$style")
        pids="$pids $pid"
        window=$(wait_for_window '^Desk Cleanup$')
        capture "$window" "message-$look"
        xdotool windowactivate --sync "$window" key Return
        # The message window closes and the progress window opens under the same title.
        while xdotool getwindowname "$window" >/dev/null 2>&1; do sleep 0.1; done
        window=$(wait_for_window '^Desk Cleanup$')
        # Part of the way along its three seconds.
        sleep 0.8
        capture "$window" "progress-$look"
        kill "$pid" 2>/dev/null || true
    done
}

# The page built by "tavlen --build --web" from the same sample, as headless Chromium shows it
# when it has loaded: the first message on the page's own background.
shot_web() {
    command -v chromium >/dev/null 2>&1 ||
        { echo "screenshots.sh: chromium is missing (Debian package chromium)" >&2; exit 1; }
    for style in 0 1; do
        look=$([ "$style" = 0 ] && echo system || echo skinned)
        folder=$(sample_in_style "$style")
        "$app/tavlen" --quiet --build "$folder/DeskCleanup.dlg2" -o "$folder/cleanup.html" --web
        chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
            --disable-background-networking --disable-component-update --disable-sync \
            --user-data-dir="$scratch/chromium" --hide-scrollbars --window-size=520,230 \
            --screenshot="$out/web-$look.png" "file://$folder/cleanup.html" >/dev/null 2>&1
        shrink "$out/web-$look.png"
    done
}

if [ -z "$steps" ]; then
    shot_editor english "$app/Samples/Quiz.dlg2" editor-english
    shot_editor russian "$app/Samples/FormatC.dlg2" editor-russian
    shot_small
    shot_runner
    shot_web
fi
for step in $steps; do
    case $step in
        editor) shot_editor "$language" "${project:-$app/Samples/Quiz.dlg2}" \
                    "${name:-editor-$language}" ;;
        small) shot_small ;;
        runner) shot_runner ;;
        web) shot_web ;;
    esac
done
