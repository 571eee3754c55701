// Standard output and standard error of the process as a Sink. Text is gathered in a buffer of
// its own (never the C library's, which nobody wipes), written out in large blocks, and the
// buffer is wiped after every write. To a Windows console it goes as UTF-16, everywhere else
// (pipes, files, Linux terminals) as UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/sink.h"

namespace zelvaran::cli {

enum class StdStreamId { Output, Error };

class StdStream final : public Sink {
public:
    explicit StdStream(StdStreamId id);
    StdStream(const StdStream&) = delete;
    StdStream& operator=(const StdStream&) = delete;
    ~StdStream() override;

    [[nodiscard]] bool Write(std::u16string_view text) override;
    [[nodiscard]] bool Flush() override;

private:
    static constexpr std::size_t kBufferUnits = 16384;
    StdStreamId id_;
    bool console_;
    std::string bytes_;   // UTF-8, for anything but a console
    std::u16string wide_; // UTF-16, for a Windows console
};

// The operating system's side, one file per system.
namespace os {
[[nodiscard]] bool IsConsole(StdStreamId id) noexcept;
[[nodiscard]] bool WriteBytes(StdStreamId id, const char* data, std::size_t size) noexcept;
[[nodiscard]] bool WriteWide(StdStreamId id, const char16_t* data, std::size_t size) noexcept;

// A file opened for reading, or standard input for "-"; bytes as they are, whatever the code
// page, so a file of UTF-8 stays UTF-8.
class Input {
public:
    explicit Input(std::u16string_view name) noexcept;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;
    ~Input();
    [[nodiscard]] bool IsOpen() const noexcept { return open_; }
    // Up to `size` bytes: how many (0 at the end), -1 on an error.
    [[nodiscard]] long long Read(char* data, std::size_t size) noexcept;

private:
    std::intptr_t handle_ = -1; // a file descriptor or a HANDLE
    bool open_ = false;
    bool owned_ = false; // standard input is not ours to close
};
} // namespace os

} // namespace zelvaran::cli
