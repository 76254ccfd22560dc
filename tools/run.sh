#!/usr/bin/env bash
# Builds the launcher for Windows and starts it under Wine, from build/<preset>/dist (where its
# settings file, quellix.ini, is kept between runs). The launcher ends with exit status 1.
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
cmake --build --preset "$preset" --target launcher
dist="$PWD/build/$preset/dist"

export WINEPREFIX="${LAUNCHER_WINEPREFIX:-$PWD/build/wineprefix-run}-$preset"
export WINEARCH="$preset" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || "$loader" wineboot -i >/dev/null 2>&1 || true
cd "$dist"
if [ -n "${DISPLAY:-}" ]; then
    exec "$loader" "$dist/launcher.exe"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$loader" "$dist/launcher.exe"
