// Passphrase options as a table: the entropy each setting is worth and the shape of what it
// makes.
#include "generator/entropy.h"
#include "generator/passphrase.h"
#include "generator/phrase_rules.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <regex>

namespace zelvaran::testing {
namespace {

constexpr std::string_view kWords[] = {"casa", "\xC3\xB1u", "rio", "mesa"}; // casa, ñu, rio, mesa

struct Row {
    PassphraseOptions Options;
    double Bits;
    const wchar_t* Shape; // every phrase of the row matches it
};

TEST(Passphrase, EntropyAndShapeFollowTheOptions) {
    const std::vector<Row> table = {
        {{6, u"-", false, false}, 12, L"^([a-z\u00F1]+-){5}[a-z\u00F1]+$"},
        {{1, u"-", false, false}, 2, L"^[a-z\u00F1]+$"},
        {{3, u"", true, false}, 6, L"^([A-Z\u00D1][a-z\u00F1]+){3}$"}, // capitals add nothing
        {{2, u" + ", false, true},
         4 + std::log2(20.0),
         L"^[a-z\u00F1]+[0-9]? \\+ [a-z\u00F1]+[0-9]?$"},
        {{64, u"\u00B7", true, true},
         128 + std::log2(640.0),
         L"^([A-Z\u00D1][a-z\u00F1]+[0-9]?\u00B7){63}[A-Z\u00D1][a-z\u00F1]+[0-9]?$"},
        {{0, u"-", false, false}, 0, nullptr}, // outside 1-64: no phrase
        {{65, u"-", false, false}, 0, nullptr},
    };
    const WordList list = MeasureWords(kWords);
    for (const Row& row : table) {
        const std::string name = std::to_string(row.Options.Words) + " words";
        EXPECT_NEAR(PassphraseEntropyBits(row.Options, std::size(kWords)), row.Bits, 1e-9) << name;
        // 0xFF is drawn again for 10 digits (only 0-249 are kept), 0x07 is then taken.
        for (const std::vector<std::uint8_t>& bytes :
             {std::vector<std::uint8_t>{0x00}, {0x5E, 0x90, 0x1A}, {0xFF, 0x07}}) {
            ScriptedSource random(bytes);
            SecretText phrase(u"old");
            const bool made = GeneratePassphrase(row.Options, list, random, phrase);
            ASSERT_EQ(made, row.Shape != nullptr) << name;
            if (!made) {
                EXPECT_TRUE(phrase.View().empty()) << name;
                continue;
            }
            const std::wstring text(phrase.View().begin(), phrase.View().end());
            EXPECT_TRUE(std::regex_match(text, std::wregex(row.Shape))) << name;
            EXPECT_LE(phrase.Size(), PassphraseCapacity(row.Options, list)) << name;
            const auto digits = std::count_if(text.begin(), text.end(),
                                              [](wchar_t c) { return c >= L'0' && c <= L'9'; });
            EXPECT_EQ(digits, row.Options.AddDigit ? 1 : 0) << name;
        }
    }
}

TEST(Passphrase, AFailedSourceLeavesNothing) {
    ScriptedSource broken({0x80}, 3);
    SecretText phrase;
    EXPECT_FALSE(GeneratePassphrase({6, u"-", true, true}, MeasureWords(kWords), broken, phrase));
    EXPECT_TRUE(phrase.View().empty());
}

// Every entry is checked both as a separator and as a word of one's own list.
struct RuleRow {
    std::u16string Text;
    bool Capitalize, AddDigit;
    PhraseRefusal AsSeparator, AsWord, AsJoinedWord = PhraseRefusal::None;
};

TEST(Passphrase, SeparatorsAndListWordsThatWouldMisleadAreRefused) {
    using enum PhraseRefusal;
    const std::vector<RuleRow> table = {
        {u"-", false, false, None, None, NoCapital},
        {u"", false, false, EmptySeparator, None}, // joined words read more than one way
        {u"", true, false, None, None},            // unless a capital starts each
        {u"casa7", false, true, None, EndsInDigit},
        {u"7casa", false, true, None, None, NoCapital},
        // Joined words: the capital must mark each start, and only it (ASCII and Latin-1).
        {u"\u00F1u", true, false, None, None},
        {u"\u03B1\u03B2", true, false, None, None, NoCapital}, // Greek: no capital made
        {u"iPhone", true, false, None, None, NoCapital},
        {u"a\u2029", true, false, ControlCharacter, ControlCharacter},
        {u"x\u200F", true, true, InvisibleCharacter, InvisibleCharacter},
    };
    for (const RuleRow& row : table) {
        const std::string name(row.Text.begin(), row.Text.end());
        EXPECT_EQ(CheckSeparator(row.Text, row.Capitalize), row.AsSeparator) << name;
        EXPECT_EQ(CheckListWord(row.Text, row.AddDigit), row.AsWord) << name;
        const PhraseRefusal joined = row.AsWord != None ? row.AsWord : row.AsJoinedWord;
        EXPECT_EQ(CheckListWord(row.Text, row.AddDigit, true), joined) << name;
    }
    // Zero-width, direction, byte-order, soft-hyphen and tag characters; their neighbours show.
    for (const char32_t c :
         {0xAD, 0x200B, 0x200F, 0x202A, 0x202E, 0x2066, 0x2069, 0xFEFF, 0xE0041}) {
        EXPECT_TRUE(IsInvisibleCharacter(c) && !IsControlCharacter(c)) << std::uint32_t{c};
    }
    for (const char32_t c : {0xAC, 0xAE, 0x200A, 0x2010, 0x2030, 0x2070, 0xFEFE, 0xFF00, 0xE0080}) {
        EXPECT_FALSE(IsInvisibleCharacter(c)) << std::uint32_t{c};
    }
    EXPECT_EQ(PrintedWord("\xC3\xB1u", true), u"\u00D1u"); // casa and Casa print alike with it
    EXPECT_EQ(PrintedWord("casa", false), u"casa");
}

} // namespace
} // namespace zelvaran::testing
