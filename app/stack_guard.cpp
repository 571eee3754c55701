// The stack protector's canary and failure handlers for zelvaran.exe, in place of GCC's libssp.
// libssp fills the canary through CryptAcquireContext before wWinMain: that loads a cryptographic
// provider DLL, and bcrypt.dll with it, while the exe's own folder is still searched first, so a
// bcrypt.dll planted there would run. Here the canary comes from the generator the passwords use,
// which loads bcrypt.dll from System32 only.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "generator/random_source.h"

namespace {

// Ends the process at once, past every handler, and tells Windows Error Reporting why.
[[noreturn]] void FailFast(unsigned int code) noexcept {
    __asm__ volatile("int $0x29" : : "c"(code));
    __builtin_unreachable();
}

} // namespace

extern "C" {

// Read by every protected function's entry and exit.
std::uintptr_t __stack_chk_guard = 0;

[[noreturn]] void __stack_chk_fail() {
    FailFast(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE);
}

// A checked string or memory function (_FORTIFY_SOURCE) found its buffer too small.
[[noreturn]] void __chk_fail() {
    FailFast(FAST_FAIL_RANGE_CHECK_FAILURE);
}

} // extern "C"

namespace {

// Runs before the program's other constructors. Not protected itself: the canary changes under it.
[[gnu::constructor(101), gnu::no_stack_protector]] void SetUpStackGuard() {
    std::uintptr_t value = 0;
    if (!zelvaran::FillFromSystem(reinterpret_cast<std::byte*>(&value), sizeof(value)) ||
        value == 0) {
        // Without random bytes, a canary no string function can write: 0, newline and 0xFF.
        value = 0xFF0A0000u;
    }
    __stack_chk_guard = value;
}

} // namespace
