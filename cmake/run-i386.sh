#!/usr/bin/env bash
# Runs a 32-bit Linux test program of the native32 preset (the first argument, with its own
# arguments): directly where the kernel runs 32-bit programs, through qemu-user's qemu-i386
# where it refuses them. LAUNCHER_I386_RUNNER=qemu takes qemu-i386 everywhere.
#
# Every program run here is a GoogleTest program, so listing its tests is a harmless way to ask
# the kernel. bash reports a binary the kernel will not execute with status 126 (it never
# reads one as a script, as some shells do).
set -u
if [ "${LAUNCHER_I386_RUNNER:-}" != qemu ]; then
    (exec "$1" --gtest_list_tests) >/dev/null 2>&1
    [ $? -eq 126 ] || exec "$@"
fi
command -v qemu-i386 >/dev/null || {
    echo "this kernel cannot run 32-bit programs and qemu-i386 is missing (package qemu-user)" >&2
    exit 1
}
exec qemu-i386 "$@"
