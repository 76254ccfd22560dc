#!/usr/bin/env bash
# Builds the release twice from the same sources, each copy in a temporary folder of its own,
# one after the other, with other file modes (umask) and another time zone, and compares
# launcher.exe, the zip and SHA256SUMS byte for byte: no time stamp, build path, file mode or
# file order may reach them. Prints the zip's SHA-256.
# The sources are the work tree's tracked and new files, so uncommitted work is checked too;
# the release time is the last commit's (SOURCE_DATE_EPOCH when set).
# Usage: tools/check_reproducible.sh
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$repo" log -1 --format=%ct)"
fi
export SOURCE_DATE_EPOCH

work="$(mktemp -d "${TMPDIR:-/tmp}/quellix-repro.XXXXXX")"
trap 'rm -rf "$work"' EXIT

build_copy() { # name
    local source="$work/$1/source" build="$work/$1/build"
    mkdir -p "$source"
    (cd "$repo" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do
            [ -e "$file" ] && printf '%s\0' "$file"
        done | xargs -0 cp --parents -t "$source")
    (cd "$source" && cmake --preset release -B "$build" >/dev/null &&
        cmake --build "$build" -j2 --target release >/dev/null)
}

echo "Building the release twice..." >&2
(umask 0022 && TZ=UTC build_copy first)
sleep 1 # so that nothing taken from the clock could agree by chance
# Another machine's file modes and time zone must not reach the bytes either.
(umask 0077 && TZ=Pacific/Kiritimati build_copy second)

failures=0
for file in dist/launcher.exe package/SHA256SUMS package/quellix-frontend-*-win32.zip; do
    first=$(cd "$work/first/build" && ls $file)
    if cmp -s "$work/first/build/$first" "$work/second/build/$first"; then
        echo "same: $first ($(stat -c %s "$work/first/build/$first") bytes)"
    else
        echo "FAIL: $first differs between the two builds:"
        cmp -l "$work/first/build/$first" "$work/second/build/$first" | head -n 5 || true
        failures=$((failures + 1))
    fi
done
sha256sum "$work"/first/build/package/*.zip | sed 's|  .*/|  |'
if [ "$failures" -eq 0 ]; then
    echo "reproducible: 1 passed, 0 failed"
else
    echo "reproducible: 0 passed, 1 failed"
    exit 1
fi
