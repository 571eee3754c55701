// Prints one 9999-character password (all four classes, the initial symbols) as UTF-8: the
// whole-process figure that compare.sh sets against pwgen.
#include "cli/text.h"
#include "generator/generator.h"

#include <cstdio>
#include <string>
#include <variant>

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
    cli::AppendUtf8(utf8, text);
    utf8.push_back('\n');
    const bool written =
        std::fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size() && std::fflush(stdout) == 0;
    // The copy made for printing is wiped like the password itself.
    SecureWipe(utf8.data(), utf8.size());
    return written ? 0 : 1;
}
