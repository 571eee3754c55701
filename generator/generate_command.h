// The Generate command and the small rules of the option controls, apart from any window: the
// main window implements GenerateView over its controls, tests over plain values.
#pragma once

#include <cstddef>
#include <string_view>

#include "generator/check_state.h"
#include "generator/generator.h"

namespace zelvaran {

class GenerateView {
public:
    virtual ~GenerateView() = default;
    virtual void DisableGenerate() = 0;
    [[nodiscard]] virtual GenerationOptions ReadOptions() = 0;
    // Modal: returns once the user has dismissed the message.
    virtual void ShowError(const GenerationError& error) = 0;
    virtual void ShowResult(const SecretText& text) = 0;
    // cmdGennerate, Copy, cut and cutxit, in that order.
    virtual void EnableButtons() = 0;
};

// One run: disable, reseed, read, check, generate, show, enable again on every path.
void GeneratePassword(GenerateView& view, RandomSource& random, const YieldHook& yield);

// Only the checked state turns a switch on; grayed counts as off.
[[nodiscard]] constexpr bool SwitchIsOn(int checkState) noexcept {
    return checkState == kChecked;
}

// The symbol and format boxes follow their check box: enabled in any state but unchecked.
[[nodiscard]] constexpr bool CompanionBoxEnabled(int checkState) noexcept {
    return checkState != kUnchecked;
}

// The length box lets a typed character through only when it is a digit; Backspace and every
// other control character are discarded too.
[[nodiscard]] constexpr bool LengthCharAllowed(char32_t typed) noexcept {
    return typed >= U'0' && typed <= U'9';
}

// A paste into the length box is taken only when it cannot bring in what typing cannot.
[[nodiscard]] bool LengthPasteAllowed(std::u16string_view pasted) noexcept;

// The same for clipboard text as it lies in its memory block of `capacity` characters, checked
// in place: up to its terminator, which the writer need not have supplied. Text without one is
// refused, since the box's own paste would read on past the block.
[[nodiscard]] bool LengthPasteAllowedInBlock(const char16_t* block, std::size_t capacity) noexcept;

} // namespace zelvaran
