// How the length box's text becomes a count: typed digits, and anything that could be pasted.
#include "test_support.h"

#include <optional>

namespace zelvaran::testing {
namespace {

struct Reading {
    std::u16string Text;
    int Count;
    std::optional<double> Real = std::nullopt; // left out where only the count matters
};

TEST(ReadLength, TextToCountAndReal) {
    const std::u16string nines(10000, u'9');
    const std::u16string zeros(10000, u'0');
    const struct {
        const char* Why;
        std::vector<Reading> Readings;
    } table[] = {
        {"typed digits", {{u"", 0, 0.0}, {u"0", 0}, {u"5", 5}, {u"0005", 5}, {u"120", 120}}},
        {"typed digits", {{u"9999", 9999}, {u"37", 37, 37.0}}},
        {"halves round to even", {{u"0.5", 0}, {u"1.5", 2}, {u"2.5", 2, 2.5}, {u"3.5", 4}}},
        {"halves round to even", {{u"2.49", 2}, {u"2.51", 3}, {u"2.6", 3}, {u"3.25", 3, 3.25}}},
        // Decided on the digits, not on a double that would round this to exactly 2.5.
        {"decided on the digits", {{u"2.50000000000000000001", 3}, {u"2.50000000000000000000", 2}}},
        {"held to the largest count", {{u"10000", 9999}, {u"12345", 9999, 9999.0}}},
        {"held to the largest count", {{u"32768", 9999}, {u"9999.5", 9999}, {u"9998.5", 9998}}},
        {"held to the largest count", {{nines, 9999, 9999.0}}},
        // Ten thousand leading zeros are still a small number.
        {"leading zeros", {{zeros + u"7", 7}}},
        {"many decimals", {{u"1." + nines, 2}}},
        {"negative asks for nothing",
         {{u"-3", 0, 0.0}, {u"-0", 0}, {u"-0.4", 0}, {u"-" + nines, 0}}},
        {"plus sign", {{u"+7", 7}}},
        {"blanks around", {{u" 12 ", 12}, {u"\t3", 3}}},
        {"blanks only", {{u"   ", 0}}},
        {"blank inside", {{u"1 2", 0}, {u"- 3", 0}}},
        {"point after the digits", {{u"5.", 5}}},
        {"point before the digits", {{u".6", 1}}},
        {"point alone", {{u".", 0}, {u"-.", 0}}},
        {"two points", {{u"1.2.3", 0}}},
        {"anything else counts as zero", {{u"abc", 0, 0.0}, {u"1e9", 0, 0.0}, {u"1E3", 0, 0.0}}},
        {"anything else counts as zero", {{u"5a", 0, 0.0}, {u"a5", 0, 0.0}, {u"1,5", 0, 0.0}}},
        {"anything else counts as zero", {{u"0x10", 0, 0.0}, {u"+", 0, 0.0}, {u"-", 0, 0.0}}},
        {"anything else counts as zero",
         {{u"++1", 0, 0.0}, {u"\uFF15", 0, 0.0}, {u"\u0665", 0, 0.0}}},
        {"anything else counts as zero", {{u"inf", 0, 0.0}, {u"nan", 0, 0.0}}},
    };
    for (const auto& group : table) {
        for (const Reading& row : group.Readings) {
            const LengthValue value = ReadLength(row.Text);
            const std::string text(row.Text.begin(),
                                   row.Text.begin() + std::min<std::size_t>(row.Text.size(), 24));
            EXPECT_EQ(value.Count, row.Count) << group.Why << ": " << text;
            if (row.Real) {
                EXPECT_EQ(value.Real, *row.Real) << group.Why << ": " << text;
            }
        }
    }
}

} // namespace
} // namespace zelvaran::testing
