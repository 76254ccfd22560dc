#!/bin/sh
# Runs a Windows program (the first argument) under Wine in a prefix of its own, kept for reuse.
#
# 64-bit programs run under the 64-bit loader, 32-bit ones under the 32-bit loader. Some
# machines cannot execute 32-bit code at all (their kernel refuses 32-bit ELF files, so 32-bit
# Wine cannot start); there a 32-bit program is reported as skipped (exit status 77) and the
# x86_64 build of the same sources (preset win64) carries the Windows tests.
# The prefix is made once, under a lock since CTest runs tests in parallel; without a display
# the program gets a private Xvfb server.
set -e
program="$1"

# The PE header's machine field: 014c for i386, 8664 for x86-64.
pe_machine() {
    offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}

case "$(pe_machine "$program")" in
8664)
    loader=/usr/lib/wine/wine64
    arch=win64
    ;;
*)
    loader=/usr/lib/wine/wine
    arch=win32
    if ! "$loader" --version >/dev/null 2>&1; then
        echo "SKIPPED: this machine cannot run 32-bit code; the win64 preset runs these tests." >&2
        exit 77
    fi
    ;;
esac

# Never the user's own prefix: tests register handlers and write files in theirs.
# LAUNCHER_WINE_DPI gives a display scale of its own (LogPixels, 96 by default), in a prefix
# of its own.
dpi="${LAUNCHER_WINE_DPI:-}"
WINEPREFIX="${LAUNCHER_WINEPREFIX:-${TMPDIR:-/tmp}/launcher-wineprefix-$(id -u)}-$arch${dpi:+-dpi$dpi}"
WINEARCH=$arch
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES
# The programs that follow use the server wineboot leaves running: none waits for it to shut
# down (the registry file appears only then) or starts another.
ready="$WINEPREFIX/.launcher-prefix-ready"
if [ ! -f "$ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    # shellcheck disable=SC2016 # the inner shell expands its own arguments
    flock "$WINEPREFIX.lock" sh -c '[ -f "$1" ] || { "$0" wineboot -i && { [ -z "$2" ] ||
        "$0" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$2" /f; } &&
        touch "$1"; }' "$loader" "$ready" "$dpi" >/dev/null 2>&1 || true
fi
# Wine's helper processes (services, the desktop window) outlive the program that started them
# and keep what it had open. Were that CTest's output pipe, CTest would count the test as running
# until they end, when the last test of the run has left Wine (the first test of a run took a
# minute so). The output goes to a file instead, shown when the program ends.
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
status=0
if [ -z "$DISPLAY" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$loader" "$@" >"$output" 2>&1 || status=$?
else
    "$loader" "$@" >"$output" 2>&1 || status=$?
fi
cat "$output"
exit "$status"
