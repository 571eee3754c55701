#!/usr/bin/env bash
# Reads the built Linux zelvaran-cli and checks the hardening it was built with, from the file
# itself: a static position-independent executable (so the kernel picks its load address, and no
# loader or shared library comes into it), stack canaries in the program's own functions, and
# the checked forms of the C library's functions where the compiler could not prove a size.
set -uo pipefail
exe=$1
fail() {
    echo "$exe: $*" >&2
    exit 1
}

readelf -h "$exe" | grep -Eq '^ +Type: +DYN ' || fail "not position-independent (ELF type is not DYN)"
headers=$(readelf -lW "$exe") || fail "readelf cannot read the program headers"
grep -q ' INTERP ' <<<"$headers" && fail "asks for a program interpreter: not static"
readelf -dW "$exe" | grep -q '(NEEDED)' && fail "needs shared libraries: not static"

# Which of the program's own functions call what, from the disassembly (the C library inside a
# static program has canaries and checked functions of its own, so they prove nothing).
calls=$(objdump -d --no-show-raw-insn "$exe" | c++filt |
    awk '/^[0-9a-f]+ <.*>:$/ { own = index($0, "zelvaran::") > 0 } own && /call/ { print $NF }')
[ -n "$calls" ] || fail "no functions of zelvaran:: found: are the symbols stripped?"
grep -q '<__stack_chk_fail>' <<<"$calls" || fail "no stack canary in the program's functions"
grep -Eq '<_*[a-z]+_chk>' <<<"$calls" || fail "no checked (_FORTIFY_SOURCE) call in the program"
echo "$exe: static PIE, stack canaries, checked calls"
