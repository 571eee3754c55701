// Shared helpers of the generator tests: a random source that returns chosen values, a hook
// that counts its calls, and small readers of results.
#pragma once

#include "generator/generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace zelvaran::testing {

// The largest single-precision value below 1.
inline const float kLargestBelowOne = std::nextafter(1.0f, 0.0f);

// Returns the given values in turn (starting over at the end) and counts how many were asked
// for. With failAfter >= 0, every request from that one on fails like a broken OS generator.
class ScriptedSource final : public RandomSource {
public:
    explicit ScriptedSource(std::vector<float> values, int failAfter = -1)
        : values_(std::move(values)), failAfter_(failAfter) {}

    void Reseed() noexcept override { ++reseeds_; }
    [[nodiscard]] float Next() noexcept override {
        const int call = calls_++;
        if (failAfter_ >= 0 && call >= failAfter_) {
            failed_ = true;
            return 0.0f;
        }
        return values_[static_cast<std::size_t>(call) % values_.size()];
    }
    [[nodiscard]] bool Failed() const noexcept override { return failed_; }

    [[nodiscard]] int Calls() const { return calls_; }
    [[nodiscard]] int Reseeds() const { return reseeds_; }

private:
    std::vector<float> values_;
    int failAfter_;
    int calls_ = 0;
    int reseeds_ = 0;
    bool failed_ = false;
};

inline ScriptedSource Constant(float r) {
    return ScriptedSource({r});
}
inline ScriptedSource FailingSource() {
    return ScriptedSource({0.5f}, 0);
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
