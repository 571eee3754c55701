#include "cli/std_stream.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace zelvaran::cli::os {
namespace {

HANDLE HandleOf(StdStreamId id) {
    return GetStdHandle(id == StdStreamId::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// Writes blocks of at most `most` units until all is written; false when a write fails or
// writes nothing.
template <class Unit, class Write>
bool WriteAll(const Unit* data, std::size_t size, std::size_t most, Write write) noexcept {
    while (size > 0) {
        DWORD done = 0;
        if (!write(data, static_cast<DWORD>(std::min(size, most)), &done) || done == 0) {
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

} // namespace

// A console shows UTF-16 whatever its code page; a redirected stream gets UTF-8.
bool IsConsole(StdStreamId id) noexcept {
    DWORD mode = 0;
    return GetConsoleMode(HandleOf(id), &mode) != 0;
}

bool WriteBytes(StdStreamId id, const char* data, std::size_t size) noexcept {
    return WriteAll(data, size, 1u << 30, [handle = HandleOf(id)](auto at, DWORD n, DWORD* done) {
        return WriteFile(handle, at, n, done, nullptr) != FALSE;
    });
}

bool WriteWide(StdStreamId id, const char16_t* data, std::size_t size) noexcept {
    // Consoles take modest blocks; a pair split here is joined again by the console.
    return WriteAll(data, size, 8192, [handle = HandleOf(id)](auto at, DWORD n, DWORD* done) {
        return WriteConsoleW(handle, at, n, done, nullptr) != FALSE;
    });
}

Input::Input(std::u16string_view name) noexcept {
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (name == u"-") {
        handle = GetStdHandle(STD_INPUT_HANDLE);
    } else {
        try {
            const std::wstring path(name.begin(), name.end());
            handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        } catch (...) {
            handle = INVALID_HANDLE_VALUE; // out of memory for the name: as good as unreadable
        }
        owned_ = handle != INVALID_HANDLE_VALUE;
    }
    open_ = handle != INVALID_HANDLE_VALUE && handle != nullptr;
    handle_ = reinterpret_cast<std::intptr_t>(handle);
}

Input::~Input() {
    if (owned_) {
        CloseHandle(reinterpret_cast<HANDLE>(handle_)); // read only: nothing to lose
    }
}

long long Input::Read(char* data, std::size_t size) noexcept {
    DWORD done = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), data, chunk, &done, nullptr)) {
        // A pipe whose writer has gone is simply at its end.
        return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return done;
}

} // namespace zelvaran::cli::os
