#!/bin/sh
# Runs a Windows program under Wine in the build's own throw-away prefix.
# The prefix is made once (under a lock, since CTest may run tests in parallel);
# without a display, the program gets a private Xvfb server.
set -e
# Never the user's own prefix: tests register handlers and write files in theirs.
WINEPREFIX="${LAUNCHER_WINEPREFIX:-${TMPDIR:-/tmp}/launcher-wineprefix-$(id -u)}"
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    flock "$WINEPREFIX.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i && wineserver -w; }' >/dev/null 2>&1
fi
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
fi
exec wine "$@"
