#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows build's tests under Wine on a private Xvfb display.
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

cmake --workflow --preset win32
