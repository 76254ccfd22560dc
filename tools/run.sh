#!/usr/bin/env bash
# Builds the launcher for Windows and starts it under Wine, from build/<preset>/dist (where its
# settings file, quellix.ini, is kept between runs), with a demo emulator beside it as
# quellix.exe: Launch shows the parameter text in a message box and appends it to
# dist/demo_launches.txt. Wine has no web browser: the run prefix opens .html files with the
# demo page viewer (build/<preset>/demo/page_viewer.exe), so Help shows a message box naming the
# page the launcher asked for. Exits with the launcher's status: 1 after a normal end.
#
# Without DISPLAY the window goes to a virtual display of its own (Xvfb); the script prints its
# number, how to take a screenshot of it and how to close the window. Wine draws the window's
# frame itself (the run prefix's X11 Driver setting Managed=N), so it has its caption and close
# box without a window manager. Ctrl+C (or SIGTERM) closes the window as Alt+F4 does, so the
# settings are saved; a second one ends Wine at once.
#
# The launcher is a 32-bit program. On a machine that cannot run 32-bit code (its kernel
# refuses 32-bit ELF files, so 32-bit Wine cannot start) the x86_64 build of the same sources
# is started instead, and the script says so.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

preset=win32
loader=/usr/lib/wine/wine
if ! "$loader" --version >/dev/null 2>&1; then
    echo "This machine cannot run 32-bit code: starting the x86_64 build of the launcher." >&2
    preset=win64
    loader=/usr/lib/wine/wine64
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target launcher demo_emulator demo_page_viewer
dist="$PWD/build/$preset/dist"
viewer="$PWD/build/$preset/demo/page_viewer.exe"
title="Quellix Frontend"

export WINEPREFIX="${LAUNCHER_WINEPREFIX:-$PWD/build/wineprefix-run}-$preset"
# Wine's own messages stay hidden unless asked for (WINEDEBUG=err+all tools/run.sh).
export WINEARCH="$preset" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
launcher_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        # Nothing can be seen any more: demo message boxes still open go with the display.
        wineserver -k >/dev/null 2>&1 || true
        kill "$xvfb_pid" >/dev/null 2>&1 || true
    fi
}
trap cleanup EXIT

# Background programs get a session of their own, so that Ctrl+C reaches this script only
# and the launcher is closed through its window rather than killed.
if [ -z "${DISPLAY:-}" ]; then
    number_file="$(mktemp)"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" \
        >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        grep -q '^[0-9]' "$number_file" && break
        sleep 0.1
    done
    number="$(head -n 1 "$number_file")"
    rm -f "$number_file"
    [ -n "$number" ] || {
        echo "Xvfb did not start: no display for the launcher." >&2
        exit 2
    }
    export DISPLAY=":$number"
    echo "DISPLAY is not set: the launcher runs on the virtual display $DISPLAY (Xvfb)."
    echo "  See the window:   import -display $DISPLAY -window root launcher.png"
    echo "  End it:           Ctrl+C here, or kill -TERM $$: the window is closed as Alt+F4"
    echo "                    does, so the settings are saved"
else
    echo "The launcher runs on your display $DISPLAY; close its window (or press Ctrl+C here)" \
        "to end it."
fi

# The prefix is made on the first run. Wine's server must be gone before the launcher
# starts: one still running from wineboot keeps whatever display it began with.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX (first run only, about a minute)..."
    mkdir -p "$(dirname "$WINEPREFIX")"
    "$loader" wineboot -i >/dev/null 2>&1 && wineserver -w
fi
# Wine draws the window's own frame (caption, close box) instead of leaving it to a window
# manager, which a virtual display does not have: the window looks and closes as on Windows.
if ! grep -A3 -F '[Software\\Wine\\X11 Driver]' "$WINEPREFIX/user.reg" 2>/dev/null |
    grep -q '^"Managed"="N"'; then
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 &&
        wineserver -w
fi
# Help hands the shell help\help.html, which it opens with the program registered for .html:
# the demo page viewer, since Wine has no browser. This Wine reads HKEY_CLASSES_ROOT from the
# machine's classes only (system.reg, where backslashes and quotes come escaped).
viewer_command="\"Z:${viewer//\//\\}\" \"%1\""
registered() { # class value
    local escaped="${2//\\/\\\\}"
    grep -A6 -F "[Software\\\\Classes\\\\$1]" "$WINEPREFIX/system.reg" 2>/dev/null |
        grep -qxF "@=\"${escaped//\"/\\\"}\""
}
if ! registered .html QuellixDemo.Page ||
    ! registered 'QuellixDemo.Page\\shell\\open\\command' "$viewer_command"; then
    "$loader" reg add 'HKCR\.html' /ve /d QuellixDemo.Page /f >/dev/null 2>&1 &&
        "$loader" reg add 'HKCR\QuellixDemo.Page\shell\open\command' /ve /d "$viewer_command" \
            /f >/dev/null 2>&1 && wineserver -w
fi
# The frame's buttons are glyphs of Wine's Marlett font (Debian's fonts-wine), which this Wine
# looks for in the prefix's Fonts folder only: without it they show as the letters 0, 1 and r.
marlett=/usr/share/wine/fonts/marlett.ttf
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ]; then
    ln -s "$marlett" "$fonts/marlett.ttf"
fi

echo "Run folder: $dist (its settings file: quellix.ini)"
echo "Launch starts the demo emulator quellix.exe there: it shows the parameter text in a"
echo "message box and appends it to $dist/demo_launches.txt"
echo "Help opens the help page with the demo page viewer (Wine has no web browser): a message"
echo "box names the page; read it in a browser of your own: $dist/help/help.html"

# Alt+F4 on the window, after a click on its blank top-left corner has made it the active
# one (a demo message box may hold the focus). Without a window manager X sends the keys to
# the window under the pointer.
close_window() {
    xdotool search --onlyvisible --name "^$title\$" windowfocus --sync \
        mousemove --window %1 4 4 sleep 0.1 click 1 sleep 0.1 key alt+F4 >/dev/null 2>&1 || true
}
closer_pid=""
interrupted=""
on_stop_signal() {
    interrupted=yes
    if [ -z "$closer_pid" ]; then
        echo "Closing the launcher's window (the settings are saved)..."
        # Again and again until the launcher ends: its window may still be opening.
        (while kill -0 "$launcher_pid" 2>/dev/null; do
            close_window
            sleep 1
        done) &
        closer_pid=$!
    else
        echo "Ending Wine without saving." >&2
        wineserver -k >/dev/null 2>&1 || true
    fi
}
trap on_stop_signal INT TERM

cd "$dist"
setsid "$loader" "$dist/launcher.exe" &
launcher_pid=$!
# A signal interrupts the wait; the launcher is waited for until it has really ended.
status=0
while :; do
    interrupted=""
    if wait "$launcher_pid"; then status=0; else status=$?; fi
    [ -n "$interrupted" ] || break
done
[ -z "$closer_pid" ] || kill "$closer_pid" 2>/dev/null || true

case "$status" in
1) echo "The launcher ended normally (status 1); its settings: $dist/quellix.ini" ;;
2)
    echo "The launcher could not create its window (status 2) and saved nothing." >&2
    echo "Usually Wine found no usable display: check $DISPLAY, and run again with" \
        "WINEDEBUG=err+all to see Wine's messages." >&2
    ;;
*)
    echo "The launcher ended with status $status, which is not its own (1 after a normal" \
        "end, 2 without a window): Wine, or a signal, ended it." >&2
    echo "Run again with WINEDEBUG=err+all to see Wine's messages; the Wine prefix is" \
        "$WINEPREFIX (remove it to start afresh)." >&2
    ;;
esac
exit "$status"
