#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, and again as 32-bit x87 code like the launcher's (directly, or
# through qemu-i386 where the kernel refuses 32-bit programs); then the Windows tests under Wine
# on a private Xvfb display: those of the 32-bit launcher itself where the machine can run
# 32-bit code, else those of the x86_64 build of the same sources; then the release's checks.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

cmake --workflow --preset native
cmake --workflow --preset native32

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

# The launcher for 32-bit Windows, and its tests where 32-bit code can run (elsewhere CTest
# reports them skipped).
cmake --workflow --preset win32
# The same sources for 64-bit Windows carry the Windows tests where 32-bit Wine cannot start;
# where it can, they would only repeat them on code we do not ship, so they are built, not run.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    cmake --preset win64
    cmake --build --preset win64
else
    cmake --workflow --preset win64
fi

# The release: two builds in separate folders must give the same bytes.
tools/check_reproducible.sh

# The README's first command as a newcomer meets it: no display, no Wine prefix yet.
tools/check_run.sh
