#!/usr/bin/env bash
# Checks tools/run.sh as a newcomer first meets it: without DISPLAY and with no Wine prefix yet,
# the launcher's window appears on the virtual display the script names; a click on Help shows
# the demo page viewer's box, as Wine has no browser; SIGTERM to the script, which it handles as
# Ctrl+C's SIGINT, closes the window, the launcher ends with status 1 and its settings file is
# written in the run folder. An earlier settings file there is set aside meanwhile, since Wine
# leaves a file alone that would not change. Usage: tools/check_run.sh
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/quellix-run.XXXXXX")"
dist="$repo/build/win32/dist"
/usr/lib/wine/wine --version >/dev/null 2>&1 || dist="$repo/build/win64/dist"
[ ! -f "$dist/quellix.ini" ] || mv "$dist/quellix.ini" "$work/kept.ini"
env -u DISPLAY LAUNCHER_WINEPREFIX="$work/prefix" "$repo/tools/run.sh" >"$work/log" 2>&1 &
run_pid=$!
end() {
    if kill -TERM "$run_pid" 2>/dev/null; then # closes the window; a second one ends Wine
        for _ in $(seq 100); do kill -0 "$run_pid" 2>/dev/null && sleep 0.2; done
        kill -TERM "$run_pid" 2>/dev/null && wait "$run_pid"
    fi
    [ ! -f "$work/kept.ini" ] || mv -f "$work/kept.ini" "$dist/quellix.ini"
    rm -rf "$work"
}
trap end EXIT
failed() {
    echo "FAIL: $*; tools/run.sh said:" && cat "$work/log" && echo "run.sh: 0 passed, 1 failed"
    exit 1
}
# wait_until WHAT COMMAND...: polls COMMAND while run.sh runs, for at most 15 minutes.
wait_until() {
    local what="$1"
    shift
    until "$@" >/dev/null 2>&1; do
        kill -0 "$run_pid" 2>/dev/null || failed "run.sh ended before $what"
        [ "$SECONDS" -lt 900 ] || failed "no $what after $SECONDS s"
        sleep 0.2
    done
}
wait_until "naming its display" grep -q "virtual display :[0-9]" "$work/log"
display="$(sed -n 's/.*virtual display \(:[0-9]*\).*/\1/p' "$work/log")"
wait_until "the window showed" \
    env DISPLAY="$display" xdotool search --onlyvisible --name '^Quellix Frontend$'
# Help's centre lies 72 and 13 dialog units in from the template's right and bottom edges, 1.5
# pixels each with the dialog font Wine draws, inside a frame of 3 pixels.
eval "$(DISPLAY="$display" xdotool search --onlyvisible --name '^Quellix Frontend$' \
    getwindowgeometry --shell | grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9]+$')"
DISPLAY="$display" xdotool mousemove $((X + WIDTH - 111)) $((Y + HEIGHT - 23)) click 1
wait_until "the page viewer's box after a click on Help" \
    env DISPLAY="$display" xdotool search --onlyvisible --name '^Quellix demo page viewer$'
kill -TERM "$run_pid"
status=0
wait "$run_pid" || status=$?
[ "$status" -eq 1 ] || failed "run.sh ended with status $status, not the launcher's 1"
[ "$(grep -c '^[A-Za-z_]*=' "$dist/quellix.ini" 2>/dev/null)" = 24 ] ||
    failed "no settings file of 24 keys in $dist"
echo "run.sh: 1 passed, 0 failed (the window shown on $display, Help's page named, closed" \
    "with status 1)"
