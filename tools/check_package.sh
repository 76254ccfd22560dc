#!/usr/bin/env bash
# Builds the release zip of a Windows build directory with CPack and checks what is in it:
# exactly the launcher, its help page and the readme; the exe for the build's processor, a GUI
# program that imports only system DLLs; the help page as in the source tree; the readme with
# Windows line ends. Usage: tools/check_package.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

(cd "$build" && cpack -G ZIP >/dev/null)
zip_file=$(ls "$build"/package/quellix-frontend-*.zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip_file" -d "$work"
top=$(basename "$zip_file" .zip)

expected="$top/README.txt
$top/help/help.html
$top/launcher.exe"
actual=$(cd "$work" && find . -type f | sed 's|^\./||' | sort)
[ "$actual" = "$expected" ] || fail "the zip holds: $actual"

exe="$work/$top/launcher.exe"
case "$top" in
*-win32) want_format="pei-i386" ;;
*) want_format="pei-x86-64" ;;
esac
objdump -f "$exe" 2>/dev/null | grep -q "file format $want_format" ||
    fail "launcher.exe is not $want_format"
headers=$(objdump -p "$exe")
echo "$headers" | grep -q "Subsystem.*(Windows GUI)" || fail "launcher.exe is not a GUI program"
imports=$(echo "$headers" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
for dll in $imports; do
    case "$dll" in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | COMCTL32.DLL | COMDLG32.DLL | SHELL32.DLL | \
        ADVAPI32.DLL | MSVCRT.DLL) ;;
    *) fail "launcher.exe imports $dll, which is not a system DLL" ;;
    esac
done
cmp -s "$work/$top/help/help.html" "$source_dir/help/help.html" || fail "help.html differs"
grep -q $'\r$' "$work/$top/README.txt" || fail "README.txt lacks Windows line ends"
[ -z "$(grep -v $'\r$' "$work/$top/README.txt")" ] || fail "README.txt has lines without CR"

echo "release package $(basename "$zip_file"): $(echo $imports | wc -w) system DLLs imported"
if [ "$failures" -eq 0 ]; then
    echo "1 passed, 0 failed"
else
    echo "0 passed, 1 failed"
    exit 1
fi
