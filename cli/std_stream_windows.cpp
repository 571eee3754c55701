#include "cli/std_stream.h"

#include <windows.h>

#include <algorithm>

namespace zelvaran::cli::os {
namespace {

HANDLE HandleOf(StdStreamId id) {
    return GetStdHandle(id == StdStreamId::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

} // namespace

// A console shows UTF-16 whatever its code page; a redirected stream gets UTF-8.
bool IsConsole(StdStreamId id) noexcept {
    DWORD mode = 0;
    return GetConsoleMode(HandleOf(id), &mode) != 0;
}

bool WriteBytes(StdStreamId id, const char* data, std::size_t size) noexcept {
    const HANDLE handle = HandleOf(id);
    while (size > 0) {
        DWORD done = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!WriteFile(handle, data, chunk, &done, nullptr) || done == 0) {
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

bool WriteWide(StdStreamId id, const char16_t* data, std::size_t size) noexcept {
    const HANDLE handle = HandleOf(id);
    while (size > 0) {
        DWORD done = 0;
        // Consoles take modest blocks; a pair split here is joined again by the console.
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 8192));
        if (!WriteConsoleW(handle, data, chunk, &done, nullptr) || done == 0) {
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

} // namespace zelvaran::cli::os
