#!/usr/bin/env bash
# Renders help/help.html to a PNG with headless Chromium, to look at the page without a desktop.
#
# Usage: tools/screenshot_help.sh [OUT.png] [WIDTH] [HEIGHT]
#   OUT.png  defaults to build/help.png (build/ is ignored by git)
#   WIDTH    window width in pixels, default 1100 (use 500 to see the narrow layout)
#   HEIGHT   window height in pixels, default 3000; the picture is cut off below it
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
page="$repo/help/help.html"
out="${1:-$repo/build/help.png}"
width="${2:-1100}"
height="${3:-3000}"

case "$width$height" in
*[!0-9]*)
    echo "WIDTH and HEIGHT must be whole numbers" >&2
    exit 2
    ;;
esac
[ -f "$page" ] || {
    echo "no page at $page" >&2
    exit 1
}

browser=""
for candidate in chromium chromium-browser; do
    if command -v "$candidate" >/dev/null 2>&1; then
        browser="$candidate"
        break
    fi
done
[ -n "$browser" ] || {
    echo "chromium is not installed (apt-get install -y chromium)" >&2
    exit 1
}

mkdir -p "$(dirname "$out")"
case "$out" in
/*) ;;
*) out="$PWD/$out" ;;
esac

# A throw-away profile, so that no earlier browser state colours the picture and nothing is
# left behind; the page loads nothing from the network, and the flags keep Chromium from
# reaching out on its own.
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT

"$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --hide-scrollbars --user-data-dir="$profile" \
    --window-size="$width,$height" --screenshot="$out" "file://$page" >/dev/null 2>&1

[ -s "$out" ] || {
    echo "chromium wrote no picture" >&2
    exit 1
}
echo "$out"
