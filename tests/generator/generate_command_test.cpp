// The Generate command's steps against a recording view, and the option controls' rules.
#include "generator/generate_command.h"

#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "test_support.h"

namespace zelvaran::testing {
namespace {

// Records every step the command takes in one list; as the command's random source, its
// reseeds too (each value it hands out is 0).
class RecordingView final : public GenerateView, public RandomSource {
public:
    explicit RecordingView(GenerationOptions options) : options_(std::move(options)) {}
    void DisableGenerate() override { Steps.push_back("disable"); }
    GenerationOptions ReadOptions() override {
        Steps.push_back("read");
        return options_;
    }
    void ShowError(const GenerationError& error) override {
        Steps.push_back("error");
        Error = error.Message();
    }
    void ShowResult(const SecretText& text) override {
        Steps.push_back("result");
        Result = text.View();
    }
    void EnableButtons() override { Steps.push_back("enable"); }

    void Reseed() noexcept override { Steps.push_back("reseed"); }
    [[nodiscard]] std::uint32_t NextBytes(unsigned) noexcept override { return 0; }
    [[nodiscard]] bool Failed() const noexcept override { return false; }

    std::vector<std::string> Steps;
    std::u16string Error;
    std::u16string Result;

private:
    GenerationOptions options_;
};

TEST(GenerateCommand, DisablesReseedsReadsShowsAndEnablesInThatOrder) {
    RecordingView view(InitialOptions());
    GeneratePassword(view, view, YieldHook());
    EXPECT_EQ(view.Steps,
              (std::vector<std::string>{"disable", "reseed", "read", "result", "enable"}));
    EXPECT_EQ(view.Result, u"aaaaa");
}

TEST(GenerateCommand, AFailedCheckShowsItsMessageAndStillEnables) {
    GenerationOptions options = InitialOptions();
    options.UseFormat = true; // "ACGNE" names the symbols, which are off
    RecordingView view(options);
    GeneratePassword(view, view, YieldHook());
    EXPECT_EQ(view.Steps,
              (std::vector<std::string>{"disable", "reseed", "read", "error", "enable"}));
    EXPECT_EQ(view.Error, GenerationError{GenerationErrorKind::FormatMismatch}.Message());
    EXPECT_TRUE(view.Result.empty());
}

TEST(GenerateCommand, AFailingRandomSourceShowsAMessageAndNoPassword) {
    RecordingView view(InitialOptions());
    ScriptedSource random = FailingSource();
    GeneratePassword(view, random, YieldHook());
    EXPECT_EQ(view.Steps, (std::vector<std::string>{"disable", "read", "error", "enable"}));
    EXPECT_EQ(view.Error, GenerationError{GenerationErrorKind::RandomUnavailable}.Message());
    EXPECT_TRUE(view.Result.empty());
}

TEST(OptionRules, OnlyTheCheckedStateTurnsASwitchOn) {
    // The companion box is enabled in any state but unchecked.
    for (const auto& [state, on, companion] :
         {std::tuple{kChecked, true, true}, {kUnchecked, false, false}, {kGrayed, false, true}}) {
        EXPECT_EQ(SwitchIsOn(state), on) << state;
        EXPECT_EQ(CompanionBoxEnabled(state), companion) << state;
    }
}

TEST(OptionRules, TheLengthBoxTakesDigitsOnly) {
    for (char32_t c = U'0'; c <= U'9'; ++c) {
        EXPECT_TRUE(LengthCharAllowed(c));
    }
    for (char32_t c : {U'\b', U'\r', U' ', U'a', U'-', U'.', U'/', U':', U'\x16', U'\u0663'}) {
        EXPECT_FALSE(LengthCharAllowed(c)) << static_cast<int>(c);
    }
    EXPECT_TRUE(LengthPasteAllowed(u"0042"));
    EXPECT_FALSE(LengthPasteAllowed(u""));
    EXPECT_FALSE(LengthPasteAllowed(u"12 "));
    EXPECT_FALSE(LengthPasteAllowed(u"12\r\n"));
    EXPECT_FALSE(LengthPasteAllowed(u"-1"));
    EXPECT_FALSE(LengthPasteAllowed(u"\uFF11")); // a full-width digit is not one of 0..9
    // Clipboard blocks, read no further than their size.
    const std::pair<std::u16string_view, bool> blocks[] = {{{u"42\0", 3}, true},
                                                           {{u"42\0x", 4}, true},
                                                           {{u"42", 2}, false},
                                                           {{u"4\0"
                                                             "2",
                                                             1},
                                                            false},
                                                           {{u"4a\0", 3}, false},
                                                           {{u"\0", 1}, false},
                                                           {{u"", 0}, false}};
    for (const auto& [block, allowed] : blocks) {
        EXPECT_EQ(LengthPasteAllowedInBlock(block.data(), block.size()), allowed) << block.size();
    }
    EXPECT_FALSE(LengthPasteAllowedInBlock(nullptr, 8));
}

} // namespace
} // namespace zelvaran::testing
