#!/usr/bin/env bash
# Installs what building and testing the launcher needs on a Debian machine (bookworm):
# CMake and the host compiler, mingw-w64 for 32-bit Windows, Wine (32-bit), Xvfb and the
# tools the window tests drive it with. Safe to run again; installs only what is missing.
set -euo pipefail

packages=(
    cmake make g++ clang clang-format googletest libclang-rt-14-dev llvm
    g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine64 wine32:i386 xvfb xauth x11-utils xdotool imagemagick
    python3 zip unzip
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
