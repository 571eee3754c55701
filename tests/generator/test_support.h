// Shared helpers of the generator tests: a random source that returns chosen values, a hook
// that counts its calls, and small readers of results.
#pragma once

#include "generator/generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zelvaran::testing {

// Hands out the given bytes in turn (starting over at the end), each value made of as many of
// them as asked for, little end first, and counts the values asked for. With failAfter >= 0,
// every request from that one on fails like a broken OS generator. A single byte b below the
// class's cut-off draws character b mod L. OnDraw, when set, is told the count after each value.
class ScriptedSource final : public RandomSource {
public:
    explicit ScriptedSource(std::vector<std::uint8_t> bytes, int failAfter = -1)
        : bytes_(std::move(bytes)), failAfter_(failAfter) {}

    void Reseed() noexcept override { ++reseeds_; }
    [[nodiscard]] std::uint32_t NextBytes(unsigned width) noexcept override {
        const int call = calls_++;
        if (OnDraw != nullptr) {
            OnDraw(calls_);
        }
        if (failAfter_ >= 0 && call >= failAfter_) {
            failed_ = true;
            return 0;
        }
        std::uint32_t value = 0;
        for (unsigned i = 0; i < width; ++i, ++at_) {
            value |= std::uint32_t{bytes_[at_ % bytes_.size()]} << (8 * i);
        }
        return value;
    }
    [[nodiscard]] bool Failed() const noexcept override { return failed_; }

    [[nodiscard]] int Calls() const { return calls_; }
    [[nodiscard]] int Reseeds() const { return reseeds_; }

    void (*OnDraw)(int draws) = nullptr;

private:
    std::vector<std::uint8_t> bytes_;
    int failAfter_;
    std::size_t at_ = 0;
    int calls_ = 0;
    int reseeds_ = 0;
    bool failed_ = false;
};

inline ScriptedSource Constant(std::uint8_t byte) {
    return ScriptedSource({byte});
}
inline ScriptedSource FailingSource() {
    return ScriptedSource({0}, 0);
}

struct CountingHook {
    int calls = 0;
    void operator()() { ++calls; }
};

// The options with exactly the given switches on; texts as the window opens with them.
inline GenerationOptions Switches(bool upper, bool lower, bool digits, bool symbols) {
    GenerationOptions options = InitialOptions();
    options.UseUpper = upper;
    options.UseLower = lower;
    options.UseDigits = digits;
    options.UseSymbols = symbols;
    return options;
}

inline CharacterClasses ClassesOf(const GenerationOptions& options) {
    auto built = BuildClasses(options, YieldHook{});
    if (const auto* error = std::get_if<GenerationError>(&built)) {
        ADD_FAILURE() << "BuildClasses failed with kind " << static_cast<int>(error->Kind);
        return {};
    }
    return std::get<CharacterClasses>(std::move(built));
}

// The text of a successful result; records a failure and gives a marker otherwise.
inline std::u16string TextOf(const Expected<SecretText>& result) {
    if (const auto* error = std::get_if<GenerationError>(&result)) {
        ADD_FAILURE() << "expected a text, got error kind " << static_cast<int>(error->Kind);
        return u"<error>";
    }
    return std::u16string(std::get<SecretText>(result).View());
}

template <class T> bool Succeeded(const Expected<T>& result) {
    return std::holds_alternative<T>(result);
}

template <class T> bool IsError(const Expected<T>& result, GenerationErrorKind kind) {
    const auto* error = std::get_if<GenerationError>(&result);
    return error != nullptr && error->Kind == kind;
}

inline bool HasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return true;
            }
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

inline std::u32string U32(std::u16string_view text) {
    return ToCodePoints(text);
}

} // namespace zelvaran::testing
