#!/usr/bin/env bash
# Shows the help page as a browser does: headless Chromium (Debian's package, installed here
# on first use, as root) takes screenshots of help/help.html at 360 (a phone's), 800 and 1280
# pixels wide, tall enough for the whole page, into build/help-screenshots/ (or the folder
# given). Not part of tools/test.sh: it needs a browser, which nothing else does.
# Usage: tools/help_screenshots.sh [OUTPUT_DIR]
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
output="$(realpath -m "${1:-$repo/build/help-screenshots}")"
if ! command -v chromium >/dev/null 2>&1; then
    echo "Installing Chromium (Debian's package chromium)..."
    DEBIAN_FRONTEND=noninteractive apt-get install -y chromium >/dev/null
fi
mkdir -p "$output"
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
tall=15000 # within ImageMagick's limit of 16000 pixels
background='#eef1f5' # the page's html background
for width in 360 800 1280; do
    # The page's own network use is nil; these flags keep the browser's own quiet too.
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --hide-scrollbars --user-data-dir="$profile" --window-size="$width,$tall" \
        --screenshot="$output/help-$width.png" "file://$repo/help/help.html" >/dev/null 2>&1
    # Cut the background below the page's end, keeping the full width. A border of the
    # background's own colour tells the trim what to cut: at 360 pixels the page reaches the
    # window's edges, so no corner shows the background.
    drawn=$(convert "$output/help-$width.png" -bordercolor "$background" -border 1 -trim \
        -format '%h %Y' info:) # height, top
    height=$((${drawn% *} + ${drawn#* } - 1 + 24))
    [ "$height" -lt "$tall" ] || echo "the page is longer than $tall pixels at $width wide" >&2
    mogrify -crop "${width}x$height+0+0" +repage "$output/help-$width.png"
    echo "$output/help-$width.png: $(identify -format '%wx%h' "$output/help-$width.png")"
done
