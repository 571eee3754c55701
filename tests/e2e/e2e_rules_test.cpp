// The two rules of the built program's system menu: checked from outside, honoured by Generate,
// stored for the user (the test prefix's registry only) and in force again at the next start.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <string_view>

#include "mainwindow/frm_main.h"
#include "mainwindow/main_layout.h"
#include "program.h"
#include "program_checks.h"

namespace zelvaran::testing {
namespace {

using mainwindow::frmMain;

void ClearRules() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserSettingsKey, L"AlMenosUno");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserSettingsKey, L"SinParecidos");
}

// Forty passwords of three characters from the three default kinds: with both rules each holds
// a lower-case letter, a capital and a digit and no look-alike. Without them only one in six
// would hold all three kinds, and a quarter a look-alike.
void ExpectBothRules(HWND main) {
    SendMessageW(FindControlById(main, mainwindow::kTxtLength), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"3"));
    for (int i = 0; i < 40; ++i) {
        SendMessageW(FindControlById(main, mainwindow::kCmdGennerate), BM_CLICK, 0, 0);
        const std::wstring text = RemoteText(FindControlById(main, mainwindow::kTxtPassword));
        const auto has = [&](int (*is)(wint_t)) {
            return std::ranges::any_of(text, is);
        };
        ASSERT_EQ(text.size(), 3u);
        EXPECT_TRUE(has(::iswlower) && has(::iswupper) && has(::iswdigit)) << text;
        EXPECT_EQ(text.find_first_of(L"0Oo1lI"), std::wstring::npos) << text;
    }
}

TEST(RulesEndToEnd, CheckedItemsShapeGenerateAndAreRememberedAtTheNextStart) {
    ClearRules();
    {
        RunningProgram program;
        HWND main = program.WaitForWindow(L"Zelvaran.frmMain");
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(Stored(L"AlMenosUno")); // starting writes nothing
        SendMessageW(main, WM_SYSCOMMAND, frmMain::kSysOneOfEachKind, 0);
        SendMessageW(main, WM_SYSCOMMAND, frmMain::kSysNoLookAlikes, 0);
        EXPECT_EQ(Stored(L"AlMenosUno"), L"1");
        EXPECT_EQ(Stored(L"SinParecidos"), L"1");
        ExpectBothRules(main);
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
    RunningProgram again;
    HWND main = again.WaitForWindow(L"Zelvaran.frmMain");
    ASSERT_NE(main, nullptr);
    ExpectBothRules(main);
    SendMessageW(main, WM_SYSCOMMAND, frmMain::kSysOneOfEachKind, 0);
    EXPECT_EQ(Stored(L"AlMenosUno"), L"0");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(again.WaitForExit(10000));
    ClearRules();
}

} // namespace
} // namespace zelvaran::testing
