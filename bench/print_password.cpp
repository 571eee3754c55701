// Prints one 9999-character password (all four classes, the initial symbols) as UTF-8: the
// whole-process figure that compare.sh sets against pwgen.
#include "generator/generator.h"

#include <cstdio>
#include <string>
#include <variant>

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

int main() {
    using namespace zelvaran;
    GenerationOptions options = InitialOptions();
    options.UseSymbols = true;
    options.LengthText = std::u16string(u"9999");
    SystemRandomSource source;
    source.Reseed();
    const auto result = Generate(options, source, YieldHook{});
    if (const auto* error = std::get_if<GenerationError>(&result)) {
        std::fprintf(stderr, "generation failed (kind %d)\n", static_cast<int>(error->Kind));
        return 1;
    }
    const std::u16string_view text = std::get<SecretText>(result).View();
    std::string utf8;
    utf8.reserve(3 * text.size() + 1);
    std::u32string codePoints = ToCodePoints(text);
    for (const char32_t c : codePoints) {
        AppendUtf8(utf8, c);
    }
    utf8.push_back('\n');
    const bool written =
        std::fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size() && std::fflush(stdout) == 0;
    // The copies made for printing are wiped like the password itself.
    SecureWipe(utf8.data(), utf8.size());
    WipeString(codePoints);
    return written ? 0 : 1;
}
