#!/usr/bin/env bash
# Takes the help page's picture of the launcher window, help/launcher.png: tools/run.sh starts
# the launcher on a virtual display of its own, where Wine draws the window's frame itself, with
# a settings file of the first start's values and two example paths; the display is captured
# and cut to the window, framed as on Windows. The run has a Wine prefix of its own, at a display
# scale of 120 pixels per inch (Windows' 125 %): at Wine's usual 96 the dialog font Wine draws is
# wider than the one the template's labels were measured for, and "Balance (r,g,b)" is clipped. The run folder's own settings file is set aside
# meanwhile and put back afterwards. The picture carries no time stamps, so the same window
# gives the same bytes. Usage: tools/make_help_picture.sh [OUTPUT.png]
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
output="$(realpath -m "${1:-$repo/help/launcher.png}")"
work="$(mktemp -d "${TMPDIR:-/tmp}/quellix-picture.XXXXXX")"
preset=win32
loader=/usr/lib/wine/wine
if ! "$loader" --version >/dev/null 2>&1; then
    preset=win64
    loader=/usr/lib/wine/wine64
fi
dist="$repo/build/$preset/dist"
dpi=120
prefix="$repo/build/wineprefix-picture-dpi$dpi" # tools/run.sh adds "-$preset"
# The scale is set before the launcher first starts there: tools/run.sh keeps a prefix it finds.
scaled="$prefix-$preset/.picture-scale-$dpi"
if [ ! -f "$scaled" ]; then
    mkdir -p "$(dirname "$prefix")"
    # shellcheck disable=SC2016 # the inner shell expands its own arguments
    WINEPREFIX="$prefix-$preset" WINEARCH="$preset" WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=" sh -c '"$0" wineboot -i && "$0" reg add \
        "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f && wineserver -w &&
        touch "$2"' "$loader" "$dpi" "$scaled" >/dev/null 2>&1 || {
        echo "make_help_picture.sh: no Wine prefix at $dpi pixels per inch in $prefix-$preset" >&2
        rm -rf "$work"
        exit 1
    }
fi
mkdir -p "$dist"
# The settings file the help page shows (its first start in C:\Games\Quellix), so the picture
# and the page agree; CR LF as the launcher's own file has.
sed -n '/<pre class="file"><code>/,/<\/code><\/pre>/p' "$repo/help/help.html" |
    sed 's/<pre class="file"><code>//; s/<\/code><\/pre>//; s/$/\r/' >"$work/page.ini"
[ "$(grep -c = "$work/page.ini")" -eq 24 ] || {
    echo "make_help_picture.sh: help/help.html shows no settings file of 24 keys" >&2
    rm -rf "$work"
    exit 1
}
[ ! -f "$dist/quellix.ini" ] || mv "$dist/quellix.ini" "$work/kept.ini"
cp "$work/page.ini" "$dist/quellix.ini"

env -u DISPLAY LAUNCHER_WINEPREFIX="$prefix" "$repo/tools/run.sh" >"$work/log" 2>&1 &
run_pid=$!
end() {
    if kill -TERM "$run_pid" 2>/dev/null; then # closes the window; a second one ends Wine
        for _ in $(seq 100); do kill -0 "$run_pid" 2>/dev/null && sleep 0.2; done
        kill -TERM "$run_pid" 2>/dev/null && wait "$run_pid"
    fi
    rm -f "$dist/quellix.ini"
    [ ! -f "$work/kept.ini" ] || mv -f "$work/kept.ini" "$dist/quellix.ini"
    rm -rf "$work"
}
trap end EXIT
wait_until() { # WHAT COMMAND...
    local what="$1"
    shift
    until "$@" >/dev/null 2>&1; do
        kill -0 "$run_pid" 2>/dev/null || {
            echo "tools/run.sh ended before $what:" >&2
            cat "$work/log" >&2
            exit 1
        }
        sleep 0.2
    done
}
wait_until "naming its display" grep -q "virtual display :[0-9]" "$work/log"
DISPLAY="$(sed -n 's/.*virtual display \(:[0-9]*\).*/\1/p' "$work/log")"
export DISPLAY
wait_until "the window showed" xdotool search --onlyvisible --name '^Quellix Frontend$'
window="$(xdotool search --onlyvisible --name '^Quellix Frontend$' | head -n 1)"
sleep 2 # the controls paint after the window shows
eval "$(xdotool getwindowgeometry --shell "$window")"
mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip \
    -define png:exclude-chunks=date,time "$output"
echo "$output: ${WIDTH}x${HEIGHT} pixels"
