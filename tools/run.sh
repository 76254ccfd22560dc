#!/usr/bin/env bash
# Builds the launcher for Windows and starts it under Wine, from build/win32/dist (where its
# settings file, quellix.ini, is kept between runs).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target launcher
dist="$PWD/build/win32/dist"
export WINEPREFIX="${LAUNCHER_WINEPREFIX:-$PWD/build/wineprefix-run}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
cd "$dist"
if [ -n "${DISPLAY:-}" ]; then
    exec wine "$dist/launcher.exe"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$dist/launcher.exe"
