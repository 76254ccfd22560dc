#!/usr/bin/env bash
# Installs what building and testing the launcher needs on a Debian machine (bookworm):
# CMake and the host compiler, mingw-w64 for 32-bit Windows, Wine (32-bit) with its own fonts
# (the frame tools/run.sh has Wine draw uses them), Xvfb and the tools the window tests drive
# it with (python3-xlib plays a file manager's drops), g++'s 32-bit libraries with qemu-user
# for the core's 32-bit tests, and the German locale under which Wine takes the Western code
# page 1252 (the end-to-end tests of a folder name that code page cannot write and of a UTF-8
# settings file); node and npm for the check of the GitHub workflow (.ci/run). Safe to run
# again; installs only what is missing.
set -euo pipefail

packages=(
    cmake make g++ clang clang-format googletest libclang-rt-14-dev llvm g++-multilib
    g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine64 wine32:i386 fonts-wine xvfb xauth x11-utils xdotool imagemagick
    python3 python3-xlib zip unzip git locales
)
# Taken without their recommends: qemu-user's would register qemu as the kernel's runner of
# 32-bit programs, and 32-bit Wine must fail plainly where the kernel refuses it
# (cmake/wine-run.sh).
bare_packages=(qemu-user)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
# Any npm will do, Debian's or one that came with another node.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)
missing_bare=()
for p in "${bare_packages[@]}"; do
    installed "$p" || missing_bare+=("$p")
done
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
generate_locale() {
    locale -a 2>/dev/null | grep -qx de_DE.utf8 || $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_bare[@]} -eq 0 ]; then
    generate_locale
    exit 0
fi

echo "Installing: ${missing[*]} ${missing_bare[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
if [ ${#missing_bare[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
        "${missing_bare[@]}"
fi
generate_locale
