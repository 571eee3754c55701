// The main window as built from its table: containers, positions, captions, states, menus.
#include <cstdint>
#include <utility>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "config/config_layout.h"
#include "layout_expect.h"
#include "main_window_fixture.h"
#include "passphrase/phrase_layout.h"
#include "ui/controls.h"
#include "ui/picture_scale.h"

namespace zelvaran::testing {
namespace {

using namespace mainwindow;

TEST_F(MainWindowTest, EveryControlSitsInItsContainerAtItsTwipsRectangle) {
    ExpectPlacedAsInTable(Main(), kMainControls, ui::WindowDpi(Main().Handle()));
}

TEST_F(MainWindowTest, ClientAreaIsTheTableSizeBelowOneMenuLine) {
    const int dpi = ui::WindowDpi(Main().Handle());
    RECT client{};
    GetClientRect(Main().Handle(), &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(kClientWidthTwips, dpi));
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(kClientHeightTwips, dpi));
    MENUBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetMenuBarInfo(Main().Handle(), OBJID_MENU, 0, &bar));
    EXPECT_LT(bar.rcBar.bottom - bar.rcBar.top, GetSystemMetrics(SM_CYMENU) * 2);
    // Sized at its own DPI (above) and centred with its real frame and menu bar, not an estimate.
    RECT outer{};
    GetWindowRect(Main().Handle(), &outer);
    const POINT centred = ui::CentredOnScreen({outer.right - outer.left, outer.bottom - outer.top});
    EXPECT_EQ(outer.left, centred.x);
    EXPECT_EQ(outer.top, centred.y);
}

TEST_F(MainWindowTest, RelaysOutAtTheNewDpi) {
    SendDpiChanged(Main().Handle(), 144, {100, 100, 700, 700});
    // 10 twips to a pixel at 144 DPI.
    EXPECT_EQ(PixelsInParent(Ctl(kCmdGennerate)), (ui::PixelRect{12, 72, 398, 38}));
    EXPECT_EQ(PixelsInParent(Ctl(kTipos)), (ui::PixelRect{12, 72, 194, 206}));
    RECT client{};
    GetClientRect(Main().Handle(), &client);
    EXPECT_EQ(client.right, 446); // 4455 twips at 144 DPI, rounded
    EXPECT_EQ(client.bottom, 444);
}

TEST_F(MainWindowTest, OpensWithTheInitialCaptionsTextsAndStates) {
    EXPECT_EQ(TextOf(Ctl(kTxtLength)), L"5");
    EXPECT_EQ(TextOf(Ctl(kTxtStyle)), L"ACGNE");
    EXPECT_EQ(TextOf(Ctl(kTxtSpecial)), L"\"*?-+!\u00A6/(&=#");
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L"");
    EXPECT_EQ(TextOf(Ctl(kChkLCaseLetters)), L"Usar Min\u00FAsculas");
    EXPECT_EQ(TextOf(Ctl(kChkNumbers)), L"Usar N\u00FAmeros");
    EXPECT_EQ(TextOf(Ctl(kChkUCaseLetters)), L"Usar Mayusculas");
    EXPECT_EQ(TextOf(Ctl(kChkSpecial)), L"Usar Simbolos");
    EXPECT_EQ(TextOf(Ctl(kCutxit)), L"Cortar y Salir");
    for (int id : {kChkLCaseLetters, kChkUCaseLetters, kChkNumbers}) {
        EXPECT_EQ(SendMessageW(Ctl(id), BM_GETCHECK, 0, 0), BST_CHECKED);
    }
    for (int id : {kChkSpecial, kChkStyle}) {
        EXPECT_EQ(SendMessageW(Ctl(id), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }
    for (int id : {kTxtSpecial, kTxtStyle, kTxtPassword, kCopy, kCut, kCutxit}) {
        EXPECT_FALSE(IsEnabled(Ctl(id)));
    }
    EXPECT_TRUE(IsEnabled(Ctl(kCmdGennerate)));
    EXPECT_TRUE(IsWindowVisible(Main().Handle()));
    EXPECT_EQ(TextOf(Main().Handle()), L"Morvantic SecurityZelvaran v1.0.42");
}

TEST_F(MainWindowTest, HasAFixedBorderAndOnlyAMinimiseButton) {
    const LONG_PTR style = GetWindowLongPtrW(Main().Handle(), GWL_STYLE);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(SendMessageW(Ctl(kCmdGennerate), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON);
}

TEST_F(MainWindowTest, MenuBarHasSalirAndInformacionWithItsTwoItems) {
    HMENU bar = GetMenu(Main().Handle());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    wchar_t text[64] = {};
    GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Salir");
    EXPECT_EQ(GetSubMenu(bar, 0), nullptr);
    EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(kMenuSalir));
    GetMenuStringW(bar, 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Informacion");
    HMENU info = GetSubMenu(bar, 1);
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(GetMenuItemCount(info), 2);
    GetMenuStringW(info, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Temas de Ayuda");
    GetMenuStringW(info, 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Acerca");
}

TEST_F(MainWindowTest, TabFollowsTheTableAcrossFramesSkippingDisabledControls) {
    SetForegroundWindow(Main().Handle());
    SetFocus(Ctl(kChkLCaseLetters));
    ASSERT_EQ(GetFocus(), Ctl(kChkLCaseLetters));
    const int expected[] = {kChkNumbers, kTxtLength,    kChkUCaseLetters, kChkSpecial,
                            kChkStyle,   kCmdGennerate, kChkLCaseLetters};
    for (int id : expected) {
        EXPECT_EQ(PressTab(GetFocus()), Ctl(id));
    }
    // Once the output buttons are enabled they join the cycle in their order.
    for (int id : {kCopy, kCut, kCutxit}) {
        EnableWindow(Ctl(id), TRUE);
    }
    SetFocus(Ctl(kCmdGennerate));
    EXPECT_EQ(PressTab(GetFocus()), Ctl(kCut));
    EXPECT_EQ(PressTab(GetFocus()), Ctl(kCutxit));
    EXPECT_EQ(PressTab(GetFocus()), Ctl(kCopy));
}

TEST_F(MainWindowTest, EnterOnACheckBoxClicksGenerar) {
    SetFocus(Ctl(kChkNumbers));
    ASSERT_TRUE(PressKey(GetFocus(), VK_RETURN));
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)).size(), 5u);
}

std::vector<WPARAM> g_uiStateChanges;

LRESULT CALLBACK WatchUiState(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    if (msg == WM_CHANGEUISTATE) {
        g_uiStateChanges.push_back(wParam);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// A key that moves the focus shows the focus rectangle (and Alt the access keys) in every window:
// those whose keys the form handles, as the main window, and the phrase window with its own.
// Wine's WM_QUERYUISTATE ignores the change, so the message sent to the form is what is checked.
TEST_F(MainWindowTest, KeysThatMoveTheFocusShowTheKeyboardCuesInEveryWindow) {
    SendMessageW(Main().Handle(), WM_SYSCOMMAND, frmMain::kSysPassphrase, 0);
    Pump();
    constexpr WPARAM kFocus = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS);
    constexpr WPARAM kAccel = MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL);
    constexpr WPARAM kBoth = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL);
    ui::Form& phrase = Main().Passphrase();
    const struct {
        ui::Form& Form;
        int Focus;
        UINT Message;
        WPARAM Key;
        std::vector<WPARAM> Sent;
    } cases[] = {
        {Main(), kChkNumbers, WM_KEYDOWN, VK_TAB, {kFocus}},
        {Main(), kChkNumbers, WM_KEYDOWN, VK_RETURN, {kFocus}},
        {Main(), kChkNumbers, WM_KEYDOWN, 'A', {}},
        {phrase, passphrase::kTxtPalabras, WM_KEYDOWN, VK_TAB, {kFocus}},
        {phrase, passphrase::kTxtPalabras, WM_SYSKEYDOWN, VK_MENU, {kAccel}},
        {phrase, passphrase::kTxtPalabras, WM_SYSKEYDOWN, 'S', {kBoth}},
        {phrase, passphrase::kTxtPalabras, WM_SYSKEYDOWN, 'Z', {}}, // no such access key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Focus << " " << c.Key);
        SetFocus(c.Form.Control(c.Focus));
        ASSERT_TRUE(SetWindowSubclass(c.Form.Handle(), &WatchUiState, 1, 0));
        g_uiStateChanges.clear();
        MSG msg{GetFocus(), c.Message, c.Key, 1 << 29, 0, {}}; // Alt held, as the system says
        static_cast<void>(ui::PreTranslateForForms(msg));
        Pump();
        RemoveWindowSubclass(c.Form.Handle(), &WatchUiState, 1);
        EXPECT_EQ(g_uiStateChanges, c.Sent);
    }
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// Title-bar, Alt+Tab and notification icons are the images made for the window's DPI, taken
// again when the window moves to a monitor of another scale.
TEST_F(MainWindowTest, IconsFollowTheWindowsDpi) {
    Main().About().Show();
    SendMessageW(Main().Handle(), WM_SYSCOMMAND, frmMain::kSysPassphrase, 0);
    Pump();
    const HWND windows[] = {Main().Handle(), Main().About().Handle(), Main().Passphrase().Handle()};
    // A DPI seen before comes round again: its images must be taken again then too.
    for (const int dpi : {ui::WindowDpi(Main().Handle()), 120, 144, 192, 96}) {
        SCOPED_TRACE(dpi);
        for (HWND window : windows) {
            RECT suggested{};
            GetWindowRect(window, &suggested);
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            for (const auto& [which, metric] :
                 {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
                EXPECT_EQ(
                    IconWidth(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0))),
                    GetSystemMetricsForDpi(metric, static_cast<UINT>(dpi)));
            }
        }
        EXPECT_EQ(IconWidth(Main().Tray().Record().hIcon),
                  GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)));
    }
}

// Packed 0xRRGGBB pixels, rows top down: of a bitmap, or of what a window shows on the screen.
std::vector<std::uint32_t> Pixels(HDC dc, HBITMAP bitmap, SIZE size) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(format.bmiHeader), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.cx * size.cy));
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &format, DIB_RGB_COLORS);
    for (std::uint32_t& pixel : pixels) {
        pixel &= 0xFFFFFF;
    }
    return pixels;
}

// The screen shows the banner filling its whole box, as the program's own filter scales it
// (the filter itself is tested on its own): no band left empty, no platform stretching.
void ExpectBannerFillsItsBox(HWND banner) {
    RedrawWindow(banner, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    auto* bitmap = reinterpret_cast<HBITMAP>(SendMessageW(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
    RECT box{};
    GetClientRect(banner, &box);
    HDC screen = GetDC(banner);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, box.right, box.bottom);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, box.right, box.bottom, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    const auto picture = Pixels(memory, bitmap, {info.bmWidth, info.bmHeight});
    const auto shown = Pixels(memory, shot, {box.right, box.bottom});
    DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(banner, screen);
    EXPECT_EQ(shown, ui::ScalePicture(picture, static_cast<std::size_t>(info.bmWidth),
                                      static_cast<std::size_t>(info.bmHeight),
                                      static_cast<std::size_t>(box.right),
                                      static_cast<std::size_t>(box.bottom)))
        << box.right << "x" << box.bottom;
}

TEST_F(MainWindowTest, TheBannerFillsItsBoxInBothWindowsThatShowIt) {
    SetForegroundWindow(Main().Handle());
    ExpectBannerFillsItsBox(Ctl(kImage1));
    Main().OpenConfiguration();
    Pump();
    ExpectBannerFillsItsBox(Main().Configuration().Control(config::kImage1));
}

} // namespace
} // namespace zelvaran::testing
