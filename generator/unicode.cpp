#include "generator/generator.h"

namespace zelvaran {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

constexpr bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::u32string ToCodePoints(std::u16string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            out.push_back(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            // Half a pair cannot be drawn or shown on its own; the replacement character keeps
            // the position without letting a broken code unit into a password.
            out.push_back(kReplacement);
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

void AppendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        const bool surrogate = IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint);
        out.push_back(static_cast<char16_t>(surrogate ? kReplacement : codePoint));
    } else if (codePoint <= 0x10FFFF) {
        const char32_t offset = codePoint - 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(kReplacement));
    }
}

} // namespace zelvaran
