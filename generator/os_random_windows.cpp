// The Windows side of the two operating-system services the core needs: cryptographic random
// bytes and a wipe the compiler may not drop. The only place in the core that sees <windows.h>.
#include "generator/random_source.h"
#include "generator/secret_text.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <limits>

namespace zelvaran {

bool FillFromSystem(std::byte* data, std::size_t size) noexcept {
    std::size_t filled = 0;
    while (filled < size) {
        // One call takes at most a ULONG of bytes.
        const std::size_t chunk =
            std::min<std::size_t>(size - filled, std::numeric_limits<ULONG>::max());
        const NTSTATUS status =
            BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(data + filled),
                            static_cast<ULONG>(chunk), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
        if (!BCRYPT_SUCCESS(status)) {
            return false;
        }
        filled += chunk;
    }
    return true;
}

void SecureWipe(void* data, std::size_t bytes) noexcept {
    if (data != nullptr && bytes != 0) {
        SecureZeroMemory(data, bytes);
    }
}

} // namespace zelvaran
