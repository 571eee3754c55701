#include "generator/generator.h"

#include <algorithm>

namespace zelvaran {
namespace {

constexpr bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
constexpr bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

// How the length box's text becomes a count. Typing allows only up to four digits, but any text
// can be pasted, so the rule covers every text and never overflows:
//  - an empty text is 0;
//  - otherwise the text must be a plain decimal number: blanks (space, tab) allowed around it, an
//    optional + or - sign, digits with an optional '.' and fraction digits, at least one digit in
//    all ("7", " 12 ", "+3", "2.5", "5.", ".5"). Anything else ("abc", "1e9", "1,5", "1 2")
//    counts as 0;
//  - Count is the number rounded to the nearest whole number, halves to the even neighbour, worked
//    out exactly on the digits, so "2.5" is 2, "3.5" is 4 and "2.5000000000000000001" is 3;
//  - Real and Count are both held to 0..9999, the largest count the four-character box can hold:
//    negative numbers give 0 and larger numbers (even thousands of digits long) give 9999.
// Real feeds the extension of templates, so a pasted length can never make one grow unbounded.
LengthValue ReadLength(std::u16string_view lengthText) noexcept {
    std::size_t begin = 0;
    std::size_t end = lengthText.size();
    while (begin < end && IsBlank(lengthText[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(lengthText[end - 1])) {
        --end;
    }
    bool negative = false;
    if (begin < end && (lengthText[begin] == u'+' || lengthText[begin] == u'-')) {
        negative = lengthText[begin] == u'-';
        ++begin;
    }

    // Whole part, saturated one above the largest count: beyond that only "too big" matters.
    constexpr int kSaturated = kMaxCount + 1;
    int whole = 0;
    std::size_t digits = 0;
    while (begin < end && IsDigit(lengthText[begin])) {
        whole = std::min(whole * 10 + (lengthText[begin] - u'0'), kSaturated);
        ++digits;
        ++begin;
    }

    double fraction = 0;
    double scale = 0.1;
    int firstFractionDigit = 0;
    bool restNonZero = false; // any non-zero fraction digit after the first
    if (begin < end && lengthText[begin] == u'.') {
        ++begin;
        for (std::size_t index = 0; begin < end && IsDigit(lengthText[begin]); ++index, ++begin) {
            const int digit = lengthText[begin] - u'0';
            if (index == 0) {
                firstFractionDigit = digit;
            } else if (digit != 0) {
                restNonZero = true;
            }
            fraction += digit * scale;
            scale /= 10;
            ++digits;
        }
    }
    if (begin != end || digits == 0 || negative) {
        // Not a number, or a negative one: both ask for nothing.
        return {};
    }

    LengthValue value;
    value.Real = std::min(static_cast<double>(whole) + fraction, static_cast<double>(kMaxCount));
    const bool roundUp =
        firstFractionDigit > 5 || (firstFractionDigit == 5 && (restNonZero || whole % 2 == 1));
    value.Count = static_cast<int16_t>(std::min<int>(whole + (roundUp ? 1 : 0), kMaxCount));
    return value;
}

} // namespace zelvaran
