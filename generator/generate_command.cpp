#include "generator/generate_command.h"

#include <variant>

namespace zelvaran {

void GeneratePassword(GenerateView& view, RandomSource& random, const YieldHook& yield) {
    view.DisableGenerate();
    random.Reseed();
    const GenerationOptions options = view.ReadOptions();
    Expected<SecretText> result = Generate(options, random, yield);
    if (const auto* error = std::get_if<GenerationError>(&result)) {
        view.ShowError(*error);
    } else {
        view.ShowResult(std::get<SecretText>(result));
    }
    view.EnableButtons();
}

bool LengthPasteAllowed(std::u16string_view pasted) noexcept {
    if (pasted.empty()) {
        return false;
    }
    for (const char16_t c : pasted) {
        if (!LengthCharAllowed(c)) {
            return false;
        }
    }
    return true;
}

} // namespace zelvaran
