#!/usr/bin/env bash
# Builds the release of a Windows build directory (its `release` target) and checks it: the zip
# holds exactly the launcher, its help page with the page's picture, the readme and the
# license; the exe is for the build's processor, a GUI program that imports at load time only
# the system DLLs of src/app/load_time_imports.txt, with a version resource that carries the
# project's version; the help page, its pictures and the license are those of the source tree,
# and the same page sits beside the launcher in the build output; the readme and the license
# have Windows line ends, and the readme tells what to do when Windows warns before it starts
# the unsigned exe; SHA256SUMS beside the zip verifies it.
# Usage: tools/check_package.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

version=$(sed -n 's/^project(.* VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
cmake --build "$build" --target release >/dev/null
zip_file=$(ls "$build"/package/quellix-frontend-"$version"-*.zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip_file" -d "$work"
top=$(basename "$zip_file" .zip)

expected="$top/LICENSE.txt
$top/README.txt
$top/help/help.html
$top/help/launcher.png
$top/launcher.exe"
actual=$(cd "$work" && find . -type f | sed 's|^\./||' | sort)
[ "$actual" = "$expected" ] || fail "the zip holds: $actual"

exe="$work/$top/launcher.exe"
case "$top" in
*-win32) want_format="pei-i386" tools=i686-w64-mingw32 ;;
*) want_format="pei-x86-64" tools=x86_64-w64-mingw32 ;;
esac
grep -q "file format $want_format" <<<"$(objdump -f "$exe" 2>/dev/null)" ||
    fail "launcher.exe is not $want_format"
headers=$(objdump -p "$exe")
grep -q "Subsystem.*(Windows GUI)" <<<"$headers" || fail "launcher.exe is not a GUI program"
imports=$(echo "$headers" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
allowed=$(grep -v '^#' "$source_dir/src/app/load_time_imports.txt" | tr 'a-z' 'A-Z')
for dll in $imports; do
    grep -qx "$dll" <<<"$allowed" ||
        fail "launcher.exe imports $dll at load time (src/app/load_time_imports.txt)"
done

# Explorer's Properties > Details read the version resource.
resources=$("$tools-windres" -i "$exe" -O rc 2>/dev/null || true)
numbers="$(echo "$version" | sed 's/\./, /g'), 0"
for line in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" "\"FileVersion\", \"$version\"" \
    "\"ProductVersion\", \"$version\"" '"ProductName", "Quellix Frontend"' \
    '"FileDescription", "Quellix Frontend"' '"OriginalFilename", "launcher.exe"' \
    '"LegalCopyright", "Copyright (c) 2026 the Quellix Frontend authors. MIT License."'; do
    grep -qF -- "$line" <<<"$resources" || fail "the version resource lacks $line"
done

# The help page, and every picture it shows (the window's, help/launcher.png), as in the source.
pictures=$(tr '\n' ' ' <"$source_dir/help/help.html" | grep -o '<img [^>]*src="[^"]*"' |
    sed 's/.*src="//; s/"$//')
for page in help.html $pictures; do
    cmp -s "$work/$top/help/$page" "$source_dir/help/$page" || fail "help/$page differs"
    cmp -s "$build/dist/help/$page" "$source_dir/help/$page" ||
        fail "help/$page beside the launcher in dist/ is not the current one"
done
cmp -s "$work/$top/LICENSE.txt" <(sed 's/$/\r/' "$source_dir/LICENSE") ||
    fail "LICENSE.txt is not the license with Windows line ends"
grep -q $'\r$' "$work/$top/README.txt" || fail "README.txt lacks Windows line ends"
[ -z "$(grep -v $'\r$' "$work/$top/README.txt")" ] || fail "README.txt has lines without CR"
for words in "Windows protected your PC" "More info" "Run anyway" "Unblock"; do
    grep -q "$words" "$work/$top/README.txt" || fail "README.txt lacks Windows' warning: $words"
done

sums="$build/package/SHA256SUMS"
grep -q "  $(basename "$zip_file")\$" "$sums" 2>/dev/null || fail "SHA256SUMS does not list the zip"
(cd "$build/package" && sha256sum -c --quiet SHA256SUMS >/dev/null 2>&1) ||
    fail "SHA256SUMS does not verify"

echo "release package $(basename "$zip_file"): $(echo $imports | wc -w) system DLLs imported"
if [ "$failures" -eq 0 ]; then
    echo "1 passed, 0 failed"
else
    echo "0 passed, 1 failed"
    exit 1
fi
