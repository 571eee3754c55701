// How the length box's text becomes a count: typed digits, and anything that could be pasted.
#include "test_support.h"

namespace zelvaran::testing {
namespace {

int CountOf(std::u16string_view text) {
    return ReadLength(text).Count;
}

TEST(ReadLength, TypedDigits) {
    EXPECT_EQ(CountOf(u""), 0);
    EXPECT_EQ(CountOf(u"0"), 0);
    EXPECT_EQ(CountOf(u"5"), 5);
    EXPECT_EQ(CountOf(u"0005"), 5);
    EXPECT_EQ(CountOf(u"120"), 120);
    EXPECT_EQ(CountOf(u"9999"), 9999);
    EXPECT_EQ(ReadLength(u"37").Real, 37.0);
    EXPECT_EQ(ReadLength(u"").Real, 0.0);
}

TEST(ReadLength, HalvesRoundToEven) {
    EXPECT_EQ(CountOf(u"0.5"), 0);
    EXPECT_EQ(CountOf(u"1.5"), 2);
    EXPECT_EQ(CountOf(u"2.5"), 2);
    EXPECT_EQ(CountOf(u"3.5"), 4);
    EXPECT_EQ(CountOf(u"2.49"), 2);
    EXPECT_EQ(CountOf(u"2.51"), 3);
    EXPECT_EQ(CountOf(u"2.6"), 3);
    // Decided on the digits, not on a double that would round this to exactly 2.5.
    EXPECT_EQ(CountOf(u"2.50000000000000000001"), 3);
    EXPECT_EQ(CountOf(u"2.50000000000000000000"), 2);
    EXPECT_EQ(ReadLength(u"2.5").Real, 2.5);
    EXPECT_EQ(ReadLength(u"3.25").Real, 3.25);
}

TEST(ReadLength, HeldToTheLargestCount) {
    EXPECT_EQ(CountOf(u"10000"), 9999);
    EXPECT_EQ(CountOf(u"12345"), 9999);
    EXPECT_EQ(CountOf(u"32768"), 9999);
    EXPECT_EQ(CountOf(u"9999.5"), 9999);
    EXPECT_EQ(CountOf(u"9998.5"), 9998);
    EXPECT_EQ(ReadLength(u"12345").Real, 9999.0);
    const std::u16string huge(10000, u'9');
    EXPECT_EQ(CountOf(huge), 9999);
    EXPECT_EQ(ReadLength(huge).Real, 9999.0);
    // Ten thousand leading zeros are still a small number.
    EXPECT_EQ(CountOf(std::u16string(10000, u'0') + u"7"), 7);
    EXPECT_EQ(CountOf(u"1." + std::u16string(10000, u'9')), 2);
}

TEST(ReadLength, NegativeNumbersAskForNothing) {
    EXPECT_EQ(CountOf(u"-3"), 0);
    EXPECT_EQ(CountOf(u"-0"), 0);
    EXPECT_EQ(CountOf(u"-0.4"), 0);
    EXPECT_EQ(CountOf(u"-" + std::u16string(10000, u'9')), 0);
    EXPECT_EQ(ReadLength(u"-3").Real, 0.0);
    EXPECT_EQ(CountOf(u"+7"), 7);
}

TEST(ReadLength, BlanksAroundTheNumber) {
    EXPECT_EQ(CountOf(u" 12 "), 12);
    EXPECT_EQ(CountOf(u"\t3"), 3);
    EXPECT_EQ(CountOf(u"   "), 0);
    EXPECT_EQ(CountOf(u"1 2"), 0);
    EXPECT_EQ(CountOf(u"- 3"), 0);
}

TEST(ReadLength, PointWithDigitsOnEitherSide) {
    EXPECT_EQ(CountOf(u"5."), 5);
    EXPECT_EQ(CountOf(u".6"), 1);
    EXPECT_EQ(CountOf(u"."), 0);
    EXPECT_EQ(CountOf(u"-."), 0);
    EXPECT_EQ(CountOf(u"1.2.3"), 0);
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
