// The Generate command in the real window: messages, button states, the option controls.
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "../generator/test_support.h"
#include "main_window_fixture.h"

namespace zelvaran::testing {
namespace {

using namespace mainwindow;

class GenerateTest : public MainWindowTest {};

TEST_F(GenerateTest, DrawsFromThePoolAndEnablesTheOutputButtons) {
    ScriptedSource random = Constant(31);
    Main().UseRandomSource(random);
    Click(Ctl(kCmdGennerate));
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L"FFFFF"); // the 32nd of a..z A..Z 0..9
    EXPECT_EQ(random.Reseeds(), 1);
    EXPECT_TRUE(platform_.Boxes.empty());
    for (int id : {kCmdGennerate, kCopy, kCut, kCutxit}) {
        EXPECT_TRUE(IsEnabled(Ctl(id)));
    }
    Click(Ctl(kCmdGennerate));
    EXPECT_EQ(random.Reseeds(), 2); // every run reseeds
}

TEST_F(GenerateTest, ARealRunGivesTheRequestedLengthFromThePool) {
    SetText(kTxtLength, L"64");
    Click(Ctl(kCmdGennerate));
    const std::wstring text = TextOf(Ctl(kTxtPassword));
    ASSERT_EQ(text.size(), 64u);
    for (wchar_t c : text) {
        EXPECT_TRUE(iswalnum(c)) << static_cast<int>(c);
    }
}

TEST_F(GenerateTest, FirstClickWithNoClassShowsTheMessageAndStillEnablesTheButtons) {
    for (int id : {kChkLCaseLetters, kChkUCaseLetters, kChkNumbers}) {
        Click(Ctl(id));
    }
    Click(Ctl(kCmdGennerate));
    ASSERT_EQ(platform_.Boxes.size(), 1u);
    EXPECT_EQ(platform_.Boxes[0].Text, L"Debe haber almemnos un tipo de caracteres seleccionado:"
                                       L"\r\n\r\n- Usar Mayusculas\r\n- Usar Minusculas\r\n"
                                       L"- Usar Numeros");
    EXPECT_EQ(platform_.Boxes[0].Title, L"Zelvaran Error");
    EXPECT_EQ(platform_.Boxes[0].Type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(platform_.Boxes[0].Owner, Main().Handle());
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L"");
    for (int id : {kCmdGennerate, kCopy, kCut, kCutxit}) {
        EXPECT_TRUE(IsEnabled(Ctl(id)));
    }
}

TEST_F(GenerateTest, ZeroOrEmptyLengthEmptiesTheBoxWithoutAMessage) {
    Click(Ctl(kCmdGennerate));
    ASSERT_FALSE(TextOf(Ctl(kTxtPassword)).empty());
    for (const wchar_t* length : {L"0", L""}) {
        SetText(kTxtLength, length);
        Click(Ctl(kCmdGennerate));
        EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L"") << length;
    }
    EXPECT_TRUE(platform_.Boxes.empty());
    EXPECT_TRUE(IsEnabled(Ctl(kCopy)));
}

TEST_F(GenerateTest, AFailedRunKeepsTheOldTextAndASuccessfulOneReplacesIt) {
    ScriptedSource random = Constant(0);
    Main().UseRandomSource(random);
    Click(Ctl(kCmdGennerate));
    ASSERT_EQ(TextOf(Ctl(kTxtPassword)), L"aaaaa");

    Click(Ctl(kChkStyle)); // "ACGNE" names the empty symbol class
    Click(Ctl(kCmdGennerate));
    ASSERT_EQ(platform_.Boxes.size(), 1u);
    EXPECT_EQ(platform_.Boxes[0].Text, L"El Formato Especial contiene instrucciones que no "
                                       L"coinciden con el tipo de caracteres elegidos");
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L"aaaaa");

    SetText(kTxtStyle, L"X-N");
    Click(Ctl(kCmdGennerate));
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L"X-0X-");
}

TEST_F(GenerateTest, GrayedSymbolSwitchCountsAsOff) {
    SendMessageW(Ctl(kChkSpecial), BM_SETSTYLE, BS_AUTO3STATE, FALSE);
    SetCheck(kChkSpecial, BST_INDETERMINATE);
    ASSERT_EQ(SendMessageW(Ctl(kChkSpecial), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    SetText(kTxtSpecial, L"");
    Click(Ctl(kCmdGennerate)); // an "on" switch with no symbols would be refused
    EXPECT_TRUE(platform_.Boxes.empty());
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)).size(), 5u);
}

TEST_F(GenerateTest, SymbolAndFormatBoxesFollowTheirCheckBoxesAndKeepTheirText) {
    Click(Ctl(kChkStyle));
    EXPECT_TRUE(IsEnabled(Ctl(kTxtStyle)));
    EXPECT_EQ(TextOf(Ctl(kTxtStyle)), L"ACGNE");
    Click(Ctl(kChkStyle));
    EXPECT_FALSE(IsEnabled(Ctl(kTxtStyle)));

    Click(Ctl(kChkSpecial));
    EXPECT_TRUE(IsEnabled(Ctl(kTxtSpecial)));
    SetText(kTxtSpecial, L"%");
    Click(Ctl(kChkSpecial));
    EXPECT_FALSE(IsEnabled(Ctl(kTxtSpecial)));
    Click(Ctl(kChkSpecial));
    EXPECT_EQ(TextOf(Ctl(kTxtSpecial)), L"%");
}

TEST_F(GenerateTest, SymbolTextOfAnUncheckedSwitchPlaysNoPart) {
    ScriptedSource random = Constant(61);
    Main().UseRandomSource(random);
    SetText(kTxtSpecial, L"%%%");
    Click(Ctl(kCmdGennerate));
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L"99999"); // the last of the 62, not a symbol
}

class LengthBoxTest : public MainWindowTest {};

TEST_F(LengthBoxTest, TypedNonDigitsBackspaceIncludedAreDiscarded) {
    HWND box = Ctl(kTxtLength);
    SendMessageW(box, EM_SETSEL, 1, 1);
    for (wchar_t c : {L'a', L' ', L'\b', L'-', L'\x7F'}) {
        TypeChar(box, c);
    }
    EXPECT_EQ(TextOf(box), L"5");
    TypeChar(box, L'7');
    EXPECT_EQ(TextOf(box), L"57");
    TypeChar(box, L'1');
    TypeChar(box, L'2');
    TypeChar(box, L'3'); // a fifth character does not fit
    EXPECT_EQ(TextOf(box), L"5712");
}

TEST_F(LengthBoxTest, PasteIsTakenOnlyWhenItIsDigits) {
    HWND box = Ctl(kTxtLength);
    SetText(kTxtLength, L"");
    ASSERT_TRUE(SetClipboardText(L"12a"));
    SendMessageW(box, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(box), L"");
    ASSERT_TRUE(SetClipboardText(L" 42"));
    TypeChar(box, 0x16); // Ctrl+V
    EXPECT_EQ(TextOf(box), L"");
    ASSERT_TRUE(SetClipboardText(L"42"));
    TypeChar(box, 0x16);
    EXPECT_EQ(TextOf(box), L"42");
    ASSERT_TRUE(SetClipboardText(L"98765"));
    SendMessageW(box, WM_PASTE, 0, 0);
    EXPECT_LE(TextOf(box).size(), 4u); // the limit still holds
    for (wchar_t c : TextOf(box)) {
        EXPECT_TRUE(c >= L'0' && c <= L'9');
    }
}

// Shift+Insert from the keyboard, through the system's input queue, into the focused box.
void ShiftInsert(HWND box) {
    SetForegroundWindow(GetAncestor(box, GA_ROOT));
    SetFocus(box);
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_SHIFT, VK_INSERT, VK_INSERT, VK_SHIFT};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags =
            (i >= 2 ? KEYEVENTF_KEYUP : 0) | (i % 3 != 0 ? KEYEVENTF_EXTENDEDKEY : 0);
    }
    SendInput(4, keys, sizeof(INPUT));
    for (int i = 0; i < 10; ++i) {
        Pump();
        Sleep(10);
    }
}

TEST_F(LengthBoxTest, EveryOtherWayInEndsInDigitsOnly) {
    HWND box = Ctl(kTxtLength);
    SendMessageW(box, EM_SETSEL, 1, 1);
    ASSERT_TRUE(SetClipboardText(L"1a"));
    ShiftInsert(box);
    EXPECT_EQ(TextOf(box), L"5");
    ASSERT_TRUE(SetClipboardText(L"42"));
    ShiftInsert(box);
    EXPECT_EQ(TextOf(box), L"542");
    // A replacement no filter sees (as an input method makes it) is taken back whole.
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x7"));
    EXPECT_EQ(TextOf(box), L"542");
    // WM_SETTEXT, as any program may send it: taken only when typing could have made it.
    const std::pair<const wchar_t*, const wchar_t*> sets[] = {
        {L"1a", L"542"}, {L"12345", L"542"}, {L"\uFF11", L"542"}, {L"0042", L"0042"}, {L"", L""}};
    for (const auto& [text, want] : sets) {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(TextOf(box), want) << TextOf(box).size();
    }
}

// A run long enough to need the pump: a message posted meanwhile is handled during the run, and
// Generar cannot start a second run.
mainwindow::frmMain* g_window = nullptr;
ScriptedSource* g_random = nullptr;
int g_drawsWhenHandled = -1;
int g_clicksDuringRun = 0;
constexpr UINT kProbe = WM_APP + 7;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) {
        g_drawsWhenHandled = g_random->Calls();
        ++g_clicksDuringRun;
        g_window->cmdGennerate_Click();
        SendMessageW(g_window->Control(kCmdGennerate), BM_CLICK, 0, 0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND g_probe = nullptr;

void SlowDraw(int draws) {
    if (draws == 100) {
        PostMessageW(g_probe, kProbe, static_cast<WPARAM>(draws), 0);
    }
    if (draws % 100 == 0) {
        Sleep(2); // 9999 draws take about 200 ms: many pump intervals
    }
}

TEST_F(GenerateTest, LongRunStaysResponsiveAndCannotBeStartedTwice) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZelvaranTestProbe";
    RegisterClassW(&wc);
    g_probe = CreateWindowW(L"ZelvaranTestProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(g_probe, nullptr);
    g_window = &Main();
    ScriptedSource random = Constant(0);
    random.OnDraw = &SlowDraw;
    g_random = &random;
    Main().UseRandomSource(random);
    SetText(kTxtLength, L"9999");
    Click(Ctl(kCmdGennerate));
    DestroyWindow(g_probe);

    EXPECT_EQ(g_clicksDuringRun, 1);
    EXPECT_GE(g_drawsWhenHandled, 100);
    EXPECT_LT(g_drawsWhenHandled, 9999); // handled while the run was still going
    EXPECT_EQ(random.Calls(), 9999);     // and no second run started
    EXPECT_EQ(random.Reseeds(), 1);
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)).size(), 9999u);
    EXPECT_TRUE(IsEnabled(Ctl(kCmdGennerate)));
}

} // namespace
} // namespace zelvaran::testing
