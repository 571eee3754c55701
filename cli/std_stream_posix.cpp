#include "cli/std_stream.h"

#include <cerrno>
#include <unistd.h>

namespace zelvaran::cli::os {

// A Linux terminal takes UTF-8 bytes like a pipe does.
bool IsConsole(StdStreamId) noexcept {
    return false;
}

bool WriteBytes(StdStreamId id, const char* data, std::size_t size) noexcept {
    const int fd = id == StdStreamId::Output ? STDOUT_FILENO : STDERR_FILENO;
    while (size > 0) {
        const ssize_t done = write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

bool WriteWide(StdStreamId, const char16_t*, std::size_t) noexcept {
    return false;
}

} // namespace zelvaran::cli::os
