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

bool LengthPasteAllowedInBlock(const char16_t* block, std::size_t capacity) noexcept {
    if (block == nullptr) {
        return false;
    }
    const std::u16string_view text(block, capacity);
    const std::size_t end = text.find(u'\0');
    return end != std::u16string_view::npos && LengthPasteAllowed(text.substr(0, end));
}

} // namespace zelvaran
