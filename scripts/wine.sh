#!/bin/sh
# Runs wine with its loader's heap at one fixed place: the test runner's emulator, and every wine
# the scripts start.
#
# Debian's wine64 comes without Wine's preloader, so the loader (not PIE, linked at 0x7d000000)
# reserves the areas Windows programs expect only once the C library is up, and the kernel puts
# its heap anywhere in the gigabyte above it. When the heap lands on the shared user page at
# 0x7ffe0000, wine exits with status 1 before printing a word: about one start in a thousand,
# enough to fail a test run now and then. With address randomisation off for wine and the
# processes it starts, the heap sits right after the loader at 0x7d005000.
arch=$(uname -m)
# A sandbox may refuse the personality change; wine then runs as before.
if setarch "$arch" -R true 2>/dev/null; then
    exec setarch "$arch" -R wine "$@"
fi
exec wine "$@"
