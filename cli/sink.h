// Where zelvaran-cli writes: standard output and standard error, or a test's buffer.
#pragma once

#include <string_view>

namespace zelvaran::cli {

class Sink {
public:
    virtual ~Sink() = default;
    // May keep the text in a buffer of its own, which it wipes once the text is written out.
    [[nodiscard]] virtual bool Write(std::u16string_view text) = 0;
    [[nodiscard]] virtual bool Flush() = 0;
};

} // namespace zelvaran::cli
