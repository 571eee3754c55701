#include "cli/std_stream.h"

#include "cli/text.h"
#include "generator/secret_text.h"

namespace zelvaran::cli {

StdStream::StdStream(StdStreamId id) : id_(id), console_(os::IsConsole(id)) {
    // Reserved once: the buffers never move, so no copy of a result is left in freed memory.
    if (console_) {
        wide_.reserve(kBufferUnits);
    } else {
        bytes_.reserve(3 * kBufferUnits);
    }
}

StdStream::~StdStream() {
    // Whatever was not written yet is wiped all the same. Only text up to the size is ever put in
    // and Flush wipes what it wrote, so the reserve past it holds nothing: wiping it would only
    // bring pages in that were never used.
    SecureWipe(wide_.data(), wide_.size() * sizeof(char16_t));
    SecureWipe(bytes_.data(), bytes_.size());
}

bool StdStream::Write(std::u16string_view text) {
    while (!text.empty()) {
        const std::size_t used = console_ ? wide_.size() : (bytes_.size() + 2) / 3;
        std::size_t take = std::min(text.size(), kBufferUnits - used);
        // A surrogate pair is never split between two writes.
        if (take < text.size() && take > 0 && text[take - 1] >= 0xD800 &&
            text[take - 1] <= 0xDBFF) {
            --take;
        }
        if (take == 0) {
            if (!Flush()) {
                return false;
            }
            continue;
        }
        if (console_) {
            wide_.append(text.substr(0, take));
        } else {
            // At most 3 bytes per unit, so the reserved block always has room.
            AppendUtf8(bytes_, text.substr(0, take));
        }
        text.remove_prefix(take);
    }
    return true;
}

bool StdStream::Flush() {
    bool written = true;
    if (console_ && !wide_.empty()) {
        written = os::WriteWide(id_, wide_.data(), wide_.size());
        SecureWipe(wide_.data(), wide_.size() * sizeof(char16_t));
        wide_.clear();
    } else if (!bytes_.empty()) {
        written = os::WriteBytes(id_, bytes_.data(), bytes_.size());
        SecureWipe(bytes_.data(), bytes_.size());
        bytes_.clear();
    }
    return written;
}

} // namespace zelvaran::cli
