#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, and again as 32-bit x87 code like the launcher's (directly, or
# through qemu-i386 where the kernel refuses 32-bit programs); then the Windows tests under Wine
# on a private Xvfb display: those of the 32-bit launcher itself where the machine can run
# 32-bit code, else those of the x86_64 build of the same sources; then the release's checks.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

# The presets fix no job count: every core of this machine, unless the caller says otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"

cmake --workflow --preset native
cmake --workflow --preset native32

# One display and one Wine prefix for the whole Windows run. At the end the display goes away
# and the prefix's Wine server ends; the prefix itself is kept for the next run. Xvfb
# picks a free display number itself and writes it into display_file once it accepts clients.
export LAUNCHER_WINEPREFIX="${LAUNCHER_WINEPREFIX:-$PWD/build/wineprefix}"
display_file="$(mktemp)"
xvfb_pid=""
cleanup() {
    # cmake/wine-run.sh keeps one prefix per Wine architecture, and one at 144 DPI.
    for prefix in "$LAUNCHER_WINEPREFIX"-win32 "$LAUNCHER_WINEPREFIX"-win64 \
        "$LAUNCHER_WINEPREFIX"-win32-dpi144 "$LAUNCHER_WINEPREFIX"-win64-dpi144; do
        [ ! -d "$prefix" ] || WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    done
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" >/dev/null 2>&1 || true
    rm -f "$display_file"
}
trap cleanup EXIT
exec {display_fd}>"$display_file"
Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec {display_fd}>&-
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
display_number="$(tr -dc 0-9 <"$display_file")"
if [ -z "$display_number" ]; then
    echo "test.sh: Xvfb did not start (no display number within 10 s); the Windows tests need it" >&2
    exit 1
fi
export DISPLAY=":$display_number"
xdpyinfo >/dev/null 2>&1 || {
    echo "test.sh: Xvfb reported display $DISPLAY, but it does not answer" >&2
    exit 1
}

# The launcher for 32-bit Windows, and its tests where 32-bit code can run (elsewhere CTest
# reports them skipped). The test programs run from the test kit as a maintainer with Windows
# gets it: unzipped into a fresh folder, run-tests.cmd run by Wine's command processor, twice.
cmake --preset win32
cmake --build --preset win32 --target all test_kit
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    ctest --preset win32 --label-exclude kit
    kit_dir="$(mktemp -d)"
    unzip -q build/win32/kit/quellix-frontend-tests-*-win32.zip -d "$kit_dir"
    (
        cd "$kit_dir"/quellix-frontend-tests-*
        export WINEPREFIX="$LAUNCHER_WINEPREFIX-win32" WINEARCH=win32 WINEDEBUG=-all
        export WINEDLLOVERRIDES="mscoree,mshtml=" KIT_NO_PAUSE=1
        [ -f "$WINEPREFIX/.launcher-prefix-ready" ] || /usr/lib/wine/wine wineboot -i
        echo "== test kit: wine cmd /c run-tests.cmd in $PWD"
        /usr/lib/wine/wine cmd /c run-tests.cmd </dev/null || { cat results.txt; exit 1; }
        # Once more as a user whose name the ANSI code page cannot write meets it: Windows keeps
        # %TEMP% and the Downloads folder under the user's profile. Here both are folders named in
        # Cyrillic, under code page 1252 (Wine takes it from the locale).
        export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
        mkdir "$kit_dir/Темп" "$kit_dir/Загрузки"
        cp -r "$PWD" "$kit_dir/Загрузки/"
        cd "$kit_dir/Загрузки/$(basename "$PWD")"
        temp="$(/usr/lib/wine/wine winepath -w "$kit_dir/Темп" | tr -d '\r')"
        echo "== test kit again, from $PWD, with %TEMP% and %TMP% in $temp"
        /usr/lib/wine/wine cmd /c "set TEMP=$temp&& set TMP=$temp&& run-tests.cmd" </dev/null ||
            { cat results.txt; exit 1; }
    )
    rm -rf "$kit_dir"
else
    ctest --preset win32
fi
# The same sources for 64-bit Windows carry the Windows tests where 32-bit Wine cannot start;
# where it can, they would only repeat them on code we do not ship: only the launcher and its
# libraries are compiled for x86_64 then, which keeps the pointer-size code building.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    cmake --preset win64 -DLAUNCHER_TESTS=OFF
    cmake --build --preset win64
else
    cmake --workflow --preset win64
fi

# The release: two builds in separate folders must give the same bytes.
tools/check_reproducible.sh

# The README's first command as a newcomer meets it: no display, no Wine prefix yet.
tools/check_run.sh
