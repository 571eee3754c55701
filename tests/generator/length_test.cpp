// How the length box's text becomes a count: typed digits, and anything that could be pasted.
#include "test_support.h"

namespace zelvaran::testing {
namespace {

constexpr double kAny = -1; // a row that does not check the real value

TEST(ReadLength, TextToCountAndReal) {
    const std::u16string nines(10000, u'9');
    const std::u16string zeros(10000, u'0');
    const struct {
        const char* Why;
        std::u16string Text;
        int Count;
        double Real;
    } table[] = {
        {"typed digits", u"", 0, 0.0},
        {"typed digits", u"0", 0, kAny},
        {"typed digits", u"5", 5, kAny},
        {"typed digits", u"0005", 5, kAny},
        {"typed digits", u"120", 120, kAny},
        {"typed digits", u"9999", 9999, kAny},
        {"typed digits", u"37", 37, 37.0},
        {"halves round to even", u"0.5", 0, kAny},
        {"halves round to even", u"1.5", 2, kAny},
        {"halves round to even", u"2.5", 2, 2.5},
        {"halves round to even", u"3.5", 4, kAny},
        {"halves round to even", u"2.49", 2, kAny},
        {"halves round to even", u"2.51", 3, kAny},
        {"halves round to even", u"2.6", 3, kAny},
        {"halves round to even", u"3.25", 3, 3.25},
        // Decided on the digits, not on a double that would round this to exactly 2.5.
        {"decided on the digits", u"2.50000000000000000001", 3, kAny},
        {"decided on the digits", u"2.50000000000000000000", 2, kAny},
        {"held to the largest count", u"10000", 9999, kAny},
        {"held to the largest count", u"12345", 9999, 9999.0},
        {"held to the largest count", u"32768", 9999, kAny},
        {"held to the largest count", u"9999.5", 9999, kAny},
        {"held to the largest count", u"9998.5", 9998, kAny},
        {"held to the largest count", nines, 9999, 9999.0},
        // Ten thousand leading zeros are still a small number.
        {"leading zeros", zeros + u"7", 7, kAny},
        {"many decimals", u"1." + nines, 2, kAny},
        {"negative asks for nothing", u"-3", 0, 0.0},
        {"negative asks for nothing", u"-0", 0, kAny},
        {"negative asks for nothing", u"-0.4", 0, kAny},
        {"negative asks for nothing", u"-" + nines, 0, kAny},
        {"plus sign", u"+7", 7, kAny},
        {"blanks around", u" 12 ", 12, kAny},
        {"blanks around", u"\t3", 3, kAny},
        {"blanks only", u"   ", 0, kAny},
        {"blank inside", u"1 2", 0, kAny},
        {"blank inside", u"- 3", 0, kAny},
        {"point after the digits", u"5.", 5, kAny},
        {"point before the digits", u".6", 1, kAny},
        {"point alone", u".", 0, kAny},
        {"point alone", u"-.", 0, kAny},
        {"two points", u"1.2.3", 0, kAny},
    };
    for (const auto& row : table) {
        const LengthValue value = ReadLength(row.Text);
        const std::string text(row.Text.begin(),
                               row.Text.begin() + std::min<std::size_t>(row.Text.size(), 24));
        EXPECT_EQ(value.Count, row.Count) << row.Why << ": " << text;
        if (row.Real != kAny) {
            EXPECT_EQ(value.Real, row.Real) << row.Why << ": " << text;
        }
    }
}

TEST(ReadLength, AnythingElseCountsAsZero) {
    for (const std::u16string_view text :
         {u"abc", u"1e9", u"1E3", u"5a", u"a5", u"1,5", u"0x10", u"+", u"-", u"++1", u"\uFF15",
          u"\u0665", u"inf", u"nan"}) {
        const LengthValue value = ReadLength(text);
        EXPECT_EQ(value.Count, 0) << std::string(text.begin(), text.end());
        EXPECT_EQ(value.Real, 0.0);
    }
}

} // namespace
} // namespace zelvaran::testing
