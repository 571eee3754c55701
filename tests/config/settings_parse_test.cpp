// The text form of a check-box state: what is written, and which stored texts give a state.
#include <gtest/gtest.h>

#include <string>

#include "config/settings_parse.h"

namespace zelvaran::testing {
namespace {

using config::ParseStoredState;
using config::StoredStateText;

TEST(StoredStateText, IsTheDecimalDigitOfTheState) {
    EXPECT_EQ(StoredStateText(kUnchecked), L"0");
    EXPECT_EQ(StoredStateText(kChecked), L"1");
    EXPECT_EQ(StoredStateText(kGrayed), L"2");
    static_assert(StoredStateText(kChecked) == L"1");
}

TEST(ParseStoredState, TheTwoWrittenStatesReadBackAsThemselves) {
    for (std::int16_t fallback : {0, 1, 2}) {
        EXPECT_EQ(ParseStoredState(L"0", fallback), 0);
        EXPECT_EQ(ParseStoredState(L"1", fallback), 1);
    }
    // What the program writes it reads back.
    for (std::int16_t state : {0, 1}) {
        EXPECT_EQ(ParseStoredState(StoredStateText(state), 7), state);
    }
    static_assert(ParseStoredState(L"1", 0) == 1);
}

TEST(ParseStoredState, AnythingElseIsTheFallback) {
    const wchar_t* const garbage[] = {L"2",    L"abc", L"3",  L"-1",  L" 1",     L"1 ", L"01",
                                      L"+1",   L"10",  L"-0", L"1.0", L"\u0661", L"２", L"1a",
                                      L"true", L"\t0", L"00", L"9",   L""};
    for (const wchar_t* text : garbage) {
        SCOPED_TRACE(::testing::Message() << "stored text of length " << std::wstring(text).size());
        EXPECT_EQ(ParseStoredState(text, 0), 0);
        EXPECT_EQ(ParseStoredState(text, 1), 1);
    }
    // An embedded terminator is part of the text, not its end.
    EXPECT_EQ(ParseStoredState(std::wstring_view(L"1\0", 2), 0), 0);
}

} // namespace
} // namespace zelvaran::testing
