#!/usr/bin/env bash
# Checks tools/run.sh as a newcomer first meets it: without DISPLAY and with a Wine prefix not
# made yet, the launcher's window appears on the virtual display the script names; SIGTERM to
# the script (what Ctrl+C does) closes the window, the launcher ends with status 1, and the
# settings file in the run folder is written. Usage: tools/check_run.sh
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/quellix-run.XXXXXX")"
log="$work/run.log"
run_pid=""
dist=""
cleanup() {
    if [ -n "$run_pid" ] && kill -0 "$run_pid" 2>/dev/null; then
        kill -TERM "$run_pid" 2>/dev/null || true # closes the window
        for _ in $(seq 50); do
            kill -0 "$run_pid" 2>/dev/null || break
            sleep 0.2
        done
        kill -TERM "$run_pid" 2>/dev/null || true # ends Wine
        wait "$run_pid" 2>/dev/null || true
    fi
    if [ -f "$work/quellix.ini" ]; then
        mv -f "$work/quellix.ini" "$dist/quellix.ini"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

failed() {
    echo "FAIL: $*"
    echo "--- tools/run.sh said:"
    cat "$log"
    echo "run.sh: 0 passed, 1 failed"
    exit 1
}
# wait_for WHAT SECONDS COMMAND...: polls COMMAND until it succeeds.
wait_for() {
    local what="$1" tries=$(($2 * 5))
    shift 2
    while ! "$@" >/dev/null 2>&1; do
        kill -0 "$run_pid" 2>/dev/null || failed "run.sh ended before $what"
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || failed "no $what"
        sleep 0.2
    done
}

# The run folder, as run.sh picks it; a settings file from earlier runs is set aside meanwhile,
# since Wine leaves a file alone that would not change.
dist="$repo/build/win32/dist"
/usr/lib/wine/wine --version >/dev/null 2>&1 || dist="$repo/build/win64/dist"
if [ -f "$dist/quellix.ini" ]; then
    mv "$dist/quellix.ini" "$work/quellix.ini"
fi
env -u DISPLAY LAUNCHER_WINEPREFIX="$work/prefix" "$repo/tools/run.sh" >"$log" 2>&1 &
run_pid=$!
wait_for "virtual display named" 900 grep -q "virtual display :[0-9]" "$log"
display="$(sed -n 's/.*virtual display \(:[0-9]*\).*/\1/p' "$log")"
wait_for "launcher window" 300 env DISPLAY="$display" xdotool search --name '^Quellix Frontend$'

kill -TERM "$run_pid"
status=0
wait "$run_pid" || status=$?
run_pid=""
[ "$status" -eq 1 ] || failed "run.sh ended with status $status, not the launcher's 1"
[ -f "$dist/quellix.ini" ] || failed "no settings file written in $dist"
keys=$(grep -c '^[A-Za-z_]*=' "$dist/quellix.ini" || true)
[ "$keys" -eq 24 ] || failed "the settings file holds $keys keys, not 24"
echo "run.sh: the window shown on $display, closed with status 1, settings saved"
echo "run.sh: 1 passed, 0 failed"
