// What a screen reader announces for every control of every window, and what high contrast shows.
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "about/about_layout.h"
#include "config/config_layout.h"
#include "passphrase/phrase_layout.h"
#include "main_window_fixture.h"
#include "ui/gdi.h"

namespace zelvaran::testing {
namespace {

using namespace mainwindow;

// Written out: MinGW's import of IID_IAccessible resolves to an import thunk, not the IID.
constexpr IID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

bool Is(HWND hwnd, const wchar_t* className) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return _wcsicmp(name, className) == 0;
}

bool IsTextLabel(HWND hwnd) {
    const LONG_PTR type = GetWindowLongPtrW(hwnd, GWL_STYLE) & SS_TYPEMASK;
    return Is(hwnd, L"Static") && (type <= SS_RIGHT || type == SS_LEFTNOWORDWRAP);
}

std::wstring Caption(HWND hwnd) {
    std::wstring text = TextOf(hwnd);
    std::erase(text, L'&'); // an access-key mark is not read out
    return text;
}

// Windows' rule: a control's own WM_GETOBJECT answer wins (read here through oleacc); an edit box
// is named by the nearest earlier static label among its siblings, the search stopping at a
// visible control that starts a group or takes the tab; labels and buttons by their caption.
std::wstring AnnouncedName(HWND control) {
    if (const LRESULT answer = SendMessageW(control, WM_GETOBJECT, 0, OBJID_CLIENT); answer > 0) {
        IAccessible* object = nullptr;
        BSTR name = nullptr;
        VARIANT self{};
        self.vt = VT_I4; // CHILDID_SELF
        if (SUCCEEDED(
                ObjectFromLresult(answer, kIidAccessible, 0, reinterpret_cast<void**>(&object)))) {
            object->get_accName(self, &name);
            object->Release();
        }
        const std::wstring text(name != nullptr ? name : L"");
        SysFreeString(name);
        return text;
    }
    if (!Is(control, L"Edit")) {
        return IsTextLabel(control) || Is(control, L"Button") ? Caption(control) : L"";
    }
    for (HWND h = GetWindow(control, GW_HWNDPREV); h != nullptr; h = GetWindow(h, GW_HWNDPREV)) {
        const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
        if (IsTextLabel(h)) {
            return Caption(h);
        }
        if ((style & WS_VISIBLE) != 0 && (style & (WS_GROUP | WS_TABSTOP)) != 0) {
            break;
        }
    }
    return L"";
}

TEST_F(MainWindowTest, EveryControlOfEveryWindowHasASpanishNameForScreenReaders) {
    OpenEveryWindow();
    const struct {
        const char* Name;
        HWND Handle;
        std::span<const ui::ControlSpec> Controls;
    } windows[] = {
        {"frmMain", Main().Handle(), kMainControls},
        {"Form5", Main().About().Handle(), about::kAboutControls},
        {"Form2", Main().Configuration().Handle(), config::kConfigControls},
        {"frmFrase", Main().Passphrase().Handle(), passphrase::kPhraseControls},
    };
    for (const auto& window : windows) {
        std::vector<HWND> children; // nested ones too: frames hold controls of their own
        EnumChildWindows(
            window.Handle,
            [](HWND child, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&children));
        std::size_t reached = 0;
        for (HWND child : children) {
            if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) == 0 && !Is(child, L"Edit")) {
                continue; // a hidden label, read only as its box's name
            }
            ++reached;
            const std::wstring name = AnnouncedName(child);
            // A word of three letters at least: neither a bare "X" nor nothing at all.
            EXPECT_FALSE(std::ranges::search_n(name, 3, true, {},
                                               [](wchar_t c) { return IsCharAlphaW(c) != FALSE; })
                             .empty())
                << window.Name << " control " << GetDlgCtrlID(child) << ": \"" << name << "\"";
        }
        EXPECT_EQ(reached, window.Controls.size()) << window.Name;
    }
}

std::vector<HWND> g_valueChanges;

TEST_F(MainWindowTest, GenerarTellsScreenReadersThatTheReadOutChanged) {
    const HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
            if (object == OBJID_CLIENT) {
                g_valueChanges.push_back(hwnd);
            }
        },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    Click(Ctl(kCmdGennerate));
    UnhookWinEvent(hook);
    // Windows' edit control reports each text set on it as well, Wine's does not: one report at
    // least, and every one of them for the read-out.
    ASSERT_FALSE(g_valueChanges.empty());
    EXPECT_EQ(std::ranges::count(g_valueChanges, Ctl(kTxtPassword)), std::ssize(g_valueChanges));
}

// Where Dynamic Annotation works (Windows), each control named otherwise than it shows is
// annotated once, answers no WM_GETOBJECT of its own, and has its annotation cleared as it goes.
TEST_F(MainWindowTest, WhereAnnotationWorksNamesAreAnnotatedOnceAndClearedOnDestroy) {
    window_.reset();
    platform_.Annotations.clear();
    platform_.AnnotationResult = S_OK;
    Restart();
    OpenEveryWindow();
    std::vector<std::pair<HWND, std::wstring>> expected{
        {Ctl(kImage1), L"Security Zelvaran"},
        {Main().About().Control(about::kCerrar), L"Cerrar"},
        {Main().Configuration().Control(config::kImage1), L"Security Zelvaran"},
        {Main().Passphrase().Control(passphrase::kImage1), L"Security Zelvaran"}};
    std::ranges::sort(expected);
    std::ranges::sort(platform_.Annotations);
    EXPECT_EQ(platform_.Annotations, expected);
    std::vector<HWND> annotated;
    for (const auto& [control, name] : expected) {
        EXPECT_EQ(SendMessageW(control, WM_GETOBJECT, 0, OBJID_CLIENT), 0);
        annotated.push_back(control);
    }
    window_.reset();
    std::ranges::sort(platform_.ClearedAnnotations);
    EXPECT_EQ(platform_.ClearedAnnotations, annotated);
}

// How many of a control's pixels on screen stand out from its background (its top-left pixel)
// by WCAG's contrast ratio for text, 4.5:1.
int LegiblePixels(HWND control) {
    const auto luminance = [](COLORREF colour) { // WCAG's, plus the 0.05 of its ratio
        double sum = 0.05;
        for (const auto& [value, weight] : {std::pair{GetRValue(colour), 0.2126},
                                            {GetGValue(colour), 0.7152},
                                            {GetBValue(colour), 0.0722}}) {
            const double c = value / 255.0;
            sum += weight * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    RECT box{};
    GetClientRect(control, &box);
    const ui::WindowDc dc(control);
    const double background = luminance(GetPixel(dc.get(), 0, 0));
    int legible = 0;
    for (int y = 0; y < box.bottom; ++y) {
        for (int x = 0; x < box.right; ++x) {
            const double pixel = luminance(GetPixel(dc.get(), x, y));
            legible += std::max(pixel, background) / std::min(pixel, background) >= 4.5 ? 1 : 0;
        }
    }
    return legible;
}

// Switched on while the program runs, high contrast leaves the read-out and the About dialog's
// version line legible. (Wine draws a disabled box's text in the theme's grey whatever colour
// the window asks for; the version line is the window's own drawing.)
TEST_F(MainWindowTest, HighContrastSwitchedOnLiveKeepsTheReadOutAndVersionLineLegible) {
    SetForegroundWindow(Main().Handle());
    SetText(kTxtLength, L"30");
    Click(Ctl(kCmdGennerate));
    ASSERT_TRUE(Main().About().Load());
    // Windows' "High Contrast Black" colours, put back at the end.
    constexpr int kElements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT,
                                 COLOR_GRAYTEXT};
    constexpr COLORREF kBlack[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0),
                                   RGB(255, 255, 255), RGB(63, 242, 63)};
    COLORREF saved[std::size(kElements)];
    std::transform(std::begin(kElements), std::end(kElements), saved, GetSysColor);
    SetSysColors(static_cast<int>(std::size(kElements)), kElements, kBlack);
    platform_.HighContrastOn = true;
    for (HWND window : {Main().Handle(), Main().About().Handle()}) {
        SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    }
    UpdateWindow(Main().Handle());
    const int readOut = LegiblePixels(Ctl(kTxtPassword));
    Main().About().Show();
    Pump();
    const int version = LegiblePixels(Main().About().Control(about::kVersion));
    SetSysColors(static_cast<int>(std::size(kElements)), kElements, saved);
    // A stroke's worth of pixels at least: the text is there, and legible.
    EXPECT_GE(readOut, 20);
    EXPECT_GE(version, 20);
}

} // namespace
} // namespace zelvaran::testing
