// The Linux side of the two operating-system services the core needs: cryptographic random
// bytes and a wipe the compiler may not drop.
#include "generator/random_source.h"
#include "generator/secret_text.h"

#include <cerrno>
#include <cstring>
#include <sys/random.h>

namespace zelvaran {

bool FillFromSystem(std::byte* data, std::size_t size) noexcept {
    std::size_t filled = 0;
    while (filled < size) {
        // Requests above 256 bytes may come back short, and a signal may interrupt the call.
        const ssize_t got = getrandom(data + filled, size - filled, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        filled += static_cast<std::size_t>(got);
    }
    return true;
}

void SecureWipe(void* data, std::size_t bytes) noexcept {
    if (data != nullptr && bytes != 0) {
        explicit_bzero(data, bytes);
    }
}

} // namespace zelvaran
