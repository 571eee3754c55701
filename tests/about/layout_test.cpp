// The dialog as built from its table: control rectangles, captions, client size, frame styles,
// position, and the layout at another DPI.
#include <string>

#include "about_fixture.h"
#include "ui/controls.h"

namespace zelvaran::testing {
namespace {

using namespace about;

TEST_F(AboutDialogTest, EveryControlSitsAtItsTwipsRectangle) {
    ASSERT_TRUE(Dialog().Load());
    const int dpi = ui::WindowDpi(Dialog().Handle());
    for (const ui::ControlSpec& row : kAboutControls) {
        SCOPED_TRACE(std::wstring(row.Name).c_str());
        HWND control = Ctl(row.Id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), Dialog().Handle());
        const ui::PixelRect want = ui::ToPixels(row.Rect, dpi);
        const RECT got = RectInParent(control);
        EXPECT_EQ(got.left, want.Left);
        EXPECT_EQ(got.top, want.Top);
        EXPECT_EQ(got.right - got.left, want.Width);
        EXPECT_EQ(got.bottom - got.top, want.Height);
    }
}

TEST_F(AboutDialogTest, AtNinetySixDpiTheControlsMeasureInPlainPixels) {
    ASSERT_TRUE(Dialog().Load());
    if (ui::WindowDpi(Dialog().Handle()) != USER_DEFAULT_SCREEN_DPI) {
        GTEST_SKIP() << "the desktop is not at 96 DPI";
    }
    const RECT close = RectInParent(Ctl(kCerrar));
    EXPECT_EQ(close.left, 272); // 4080 twips at 15 a pixel
    EXPECT_EQ(close.top, 8);
    EXPECT_EQ(close.right - close.left, 17);
    const RECT web = RectInParent(Ctl(kCommandWeb));
    EXPECT_EQ(web.left, 176);
    EXPECT_EQ(web.top, 280);
    EXPECT_EQ(web.right - web.left, 105);
    const RECT version = RectInParent(Ctl(kVersion));
    EXPECT_EQ(version.left, 24);
    EXPECT_EQ(version.top, 288);
    EXPECT_EQ(version.right - version.left, 81);
}

TEST_F(AboutDialogTest, ButtonsCarryTheirCaptionsAndTheVersionIsACentredLabel) {
    ASSERT_TRUE(Dialog().Load());
    EXPECT_EQ(TextOf(Ctl(kCommandWeb)), L"Web del Programa");
    EXPECT_EQ(TextOf(Ctl(kWebcp)), L"Web de OVRA");
    EXPECT_EQ(TextOf(Ctl(kCerrar)), L"X");
    for (int id : {kCommandWeb, kWebcp, kCerrar}) {
        const LONG_PTR style = GetWindowLongPtrW(Ctl(id), GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON); // no default button
        EXPECT_NE(style & WS_TABSTOP, 0);
    }
    wchar_t name[32] = {};
    GetClassNameW(Ctl(kVersion), name, 32);
    EXPECT_EQ(_wcsicmp(name, L"Static"), 0);
    EXPECT_EQ(GetWindowLongPtrW(Ctl(kVersion), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
}

TEST_F(AboutDialogTest, ClientAreaIsTheTableSizeWithNoFrameAround) {
    ASSERT_TRUE(Dialog().Load());
    const int dpi = ui::WindowDpi(Dialog().Handle());
    RECT client{};
    GetClientRect(Dialog().Handle(), &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(kClientWidthTwips, dpi));
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(kClientHeightTwips, dpi));
    EXPECT_EQ(kClientWidthTwips, 4500);
    EXPECT_EQ(kClientHeightTwips, 5010);
    RECT outer{};
    GetWindowRect(Dialog().Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, client.right);
    EXPECT_EQ(outer.bottom - outer.top, client.bottom);
}

TEST_F(AboutDialogTest, BorderlessOffTheTaskbarAndWithoutBoxes) {
    ASSERT_TRUE(Dialog().Load());
    const LONG_PTR style = GetWindowLongPtrW(Dialog().Handle(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(Dialog().Handle(), GWL_EXSTYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & WS_CAPTION, 0); // neither title bar nor thin border
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(exStyle & (WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE), 0);
}

TEST_F(AboutDialogTest, OpensCentredOnTheScreen) {
    ASSERT_TRUE(Dialog().Load());
    RECT outer{};
    GetWindowRect(Dialog().Handle(), &outer);
    const POINT want = ui::CentredOnScreen({outer.right - outer.left, outer.bottom - outer.top});
    EXPECT_EQ(outer.left, want.x);
    EXPECT_EQ(outer.top, want.y);
    Dialog().Show();
    Pump();
    GetWindowRect(Dialog().Handle(), &outer);
    EXPECT_EQ(outer.left, want.x);
    EXPECT_EQ(outer.top, want.y);
}

TEST_F(AboutDialogTest, RelaysOutAtTheNewDpi) {
    ASSERT_TRUE(Dialog().Load());
    SendDpiChanged(Dialog().Handle(), 144, {100, 100, 700, 700});
    // 10 twips to a pixel at 144 DPI, halves rounded up.
    const RECT web = RectInParent(Ctl(kCommandWeb));
    EXPECT_EQ(web.left, 264);
    EXPECT_EQ(web.top, 420);
    EXPECT_EQ(web.right - web.left, 158);
    EXPECT_EQ(web.bottom - web.top, 26);
    const RECT close = RectInParent(Ctl(kCerrar));
    EXPECT_EQ(close.left, 408);
    EXPECT_EQ(close.top, 12);
    const RECT version = RectInParent(Ctl(kVersion));
    EXPECT_EQ(version.left, 36);
    EXPECT_EQ(version.top, 432);
    EXPECT_EQ(version.right - version.left, 122);
    RECT client{};
    GetClientRect(Dialog().Handle(), &client);
    EXPECT_EQ(client.right, 450);
    EXPECT_EQ(client.bottom, 501);
    RECT outer{};
    GetWindowRect(Dialog().Handle(), &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 100);
}

} // namespace
} // namespace zelvaran::testing
