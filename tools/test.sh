#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows tests under Wine on a private Xvfb display:
# those of the 32-bit launcher where the machine can run 32-bit code (elsewhere CTest reports
# them skipped), and those of the x86_64 build of the same sources everywhere.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

cmake --workflow --preset native

# One display and one Wine prefix for the whole Windows run; both go away at the end.
export LAUNCHER_WINEPREFIX="${LAUNCHER_WINEPREFIX:-$PWD/build/wineprefix}"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
    WINEPREFIX="$LAUNCHER_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

# The launcher for 32-bit Windows, and its tests where 32-bit code can run.
cmake --workflow --preset win32
# The same sources for 64-bit Windows: the Windows tests under 64-bit Wine, on every machine.
cmake --workflow --preset win64
