#!/usr/bin/env bash
# Installs what building and testing the launcher needs on a Debian machine (bookworm):
# CMake and the host compiler, mingw-w64 for 32-bit Windows, Wine (32-bit) with its own fonts
# (the frame tools/run.sh has Wine draw uses them), Xvfb and the tools the window tests drive
# it with (python3-xlib plays a file manager's drops), and g++'s 32-bit libraries with
# qemu-user for the core's 32-bit tests. Safe to run again; installs only what is missing.
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
missing_bare=()
for p in "${bare_packages[@]}"; do
    installed "$p" || missing_bare+=("$p")
done
# The end-to-end suite runs Wine under a German locale, whose ANSI code page is 1252.
have_locale() {
    locale -a 2>/dev/null | grep -qx 'de_DE.utf8'
}
[ ${#missing[@]} -eq 0 ] && [ ${#missing_bare[@]} -eq 0 ] && have_locale && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
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
if ! have_locale; then
    grep -qx 'de_DE.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen
fi
