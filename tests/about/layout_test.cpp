// The dialog as built from its table: control rectangles, captions, client size, frame styles,
// position, and the layout at another DPI.
#include "about_fixture.h"
#include "layout_expect.h"
#include "ui/controls.h"

namespace zelvaran::testing {
namespace {

using namespace about;

TEST_F(AboutDialogTest, EveryControlSitsAtItsTwipsRectangle) {
    ASSERT_TRUE(Dialog().Load());
    ExpectPlacedAsInTable(Dialog(), kAboutControls, ui::WindowDpi(Dialog().Handle()));
}

TEST_F(AboutDialogTest, AtNinetySixDpiTheControlsMeasureInPlainPixels) {
    ASSERT_TRUE(Dialog().Load());
    if (ui::WindowDpi(Dialog().Handle()) != USER_DEFAULT_SCREEN_DPI) {
        GTEST_SKIP() << "the desktop is not at 96 DPI";
    }
    // 15 twips to a pixel: the close box's 4080 twips are 272 pixels.
    EXPECT_EQ(PixelsInParent(Ctl(kCerrar)), (ui::PixelRect{272, 8, 17, 17}));
    EXPECT_EQ(PixelsInParent(Ctl(kCommandWeb)), (ui::PixelRect{176, 280, 105, 17}));
    EXPECT_EQ(PixelsInParent(Ctl(kVersion)), (ui::PixelRect{24, 288, 81, 17}));
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
    ShowDialog();
    GetWindowRect(Dialog().Handle(), &outer);
    EXPECT_EQ(outer.left, want.x);
    EXPECT_EQ(outer.top, want.y);
}

TEST_F(AboutDialogTest, RelaysOutAtTheNewDpi) {
    ASSERT_TRUE(Dialog().Load());
    SendDpiChanged(Dialog().Handle(), 144, {100, 100, 700, 700});
    // 10 twips to a pixel at 144 DPI, halves rounded up.
    EXPECT_EQ(PixelsInParent(Ctl(kCommandWeb)), (ui::PixelRect{264, 420, 158, 26}));
    EXPECT_EQ(PixelsInParent(Ctl(kCerrar)), (ui::PixelRect{408, 12, 26, 26}));
    EXPECT_EQ(PixelsInParent(Ctl(kVersion)), (ui::PixelRect{36, 432, 122, 26}));
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
