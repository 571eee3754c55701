#include "cli/std_stream.h"

#include "cli/text.h"

#include <cerrno>
#include <fcntl.h>
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

Input::Input(std::u16string_view name) noexcept {
    if (name == u"-") {
        handle_ = STDIN_FILENO;
    } else {
        try {
            handle_ = open(ToUtf8(name).c_str(), O_RDONLY | O_CLOEXEC);
        } catch (...) {
            handle_ = -1; // out of memory for the name: as good as unreadable
        }
        owned_ = handle_ >= 0;
    }
    open_ = handle_ >= 0;
}

Input::~Input() {
    if (owned_) {
        (void)close(static_cast<int>(handle_)); // read only: nothing to lose
    }
}

long long Input::Read(char* data, std::size_t size) noexcept {
    for (;;) {
        const ssize_t done = read(static_cast<int>(handle_), data, size);
        if (done >= 0 || errno != EINTR) {
            return done;
        }
    }
}

} // namespace zelvaran::cli::os
