// Fills 9999 bytes, one a character, from the OS generator and exits: the whole-process floor that
// compare.sh sets beside zelvaran_print. Prints nothing; the exit status tells success.
#include "generator/random_source.h"
#include "generator/secret_text.h"

#include <array>
#include <cstddef>

int main() {
    static std::array<std::byte, 9999> bytes{};
    const bool filled = zelvaran::FillFromSystem(bytes.data(), bytes.size());
    zelvaran::SecureWipe(bytes.data(), bytes.size());
    return filled ? 0 : 1;
}
