// What the dialog looks like: its icon, the tooltips of the web buttons, the picture behind
// everything and the version line drawn over it.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>

#include "about_fixture.h"
#include "resources/resource_ids.h"

namespace zelvaran::testing {
namespace {

using namespace about;

constexpr int kPictureWidth = 300;
constexpr int kPictureHeight = 430;

// What lies behind the dialog's point (x, y): the picture, and past its edge (at high DPI the
// client area is larger) its last row and column carried on.
std::uint32_t Backdrop(const Canvas& picture, int x, int y) {
    return picture.Pixel(std::min(x, kPictureWidth - 1), std::min(y, kPictureHeight - 1));
}

// How many of the canvas's pixels `counts` is true of.
using PixelTest = std::function<bool(int x, int y, std::uint32_t pixel)>;
int CountPixels(const Canvas& canvas, const PixelTest& counts) {
    int count = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            count += counts(x, y, canvas.Pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

HICON IconOf(HWND window, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
}

// The tray image in the title bar and for Alt+Tab, each at its size for the dialog's DPI (checked
// at several DPIs with the other windows' icons in the window tests).
TEST_F(AboutDialogTest, TheWindowCarriesTheTrayImageSmallAndBig) {
    ASSERT_TRUE(Dialog().Load());
    const HICON small = IconOf(Dialog().Handle(), ICON_SMALL);
    const HICON big = IconOf(Dialog().Handle(), ICON_BIG);
    EXPECT_EQ(small, Dialog().Icon());
    EXPECT_NE(small, nullptr);
    EXPECT_NE(big, nullptr);
    EXPECT_NE(big, small);
}

TEST_F(AboutDialogTest, TheIconStaysValidAcrossAnUnload) {
    ASSERT_TRUE(Dialog().Load());
    const HICON before = Dialog().Icon();
    ShowDialog();
    ClickNotification(Ctl(kCerrar));
    Pump();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(before, &info)); // still a live icon: the same DPI gives it again
    const ui::UniqueBitmap colour(info.hbmColor);
    const ui::UniqueBitmap mask(info.hbmMask);
    EXPECT_EQ(Dialog().Icon(), before);
    ShowDialog();
    EXPECT_EQ(IconOf(Dialog().Handle(), ICON_SMALL), before);
}

TEST_F(AboutDialogTest, BothWebButtonsHaveTheirTooltipsOnceShown) {
    ASSERT_TRUE(Dialog().Load());
    EXPECT_EQ(ToolTipOwnedBy(Dialog().Handle()), nullptr); // not paid for at start
    ShowDialog();
    HWND tip = ToolTipOwnedBy(Dialog().Handle());
    ASSERT_NE(tip, nullptr);
    EXPECT_GE(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    ASSERT_EQ(kAboutToolTips.size(), 2u);
    EXPECT_EQ(kAboutToolTips[0].Id, kCommandWeb);
    EXPECT_EQ(kAboutToolTips[1].Id, kWebcp);
    for (const ToolTipSpec& row : kAboutToolTips) {
        wchar_t text[256] = {};
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = Dialog().Handle();
        info.uId = reinterpret_cast<UINT_PTR>(Ctl(row.Id));
        info.lpszText = text;
        ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), TTF_IDISHWND | TTF_SUBCLASS);
        text[0] = L'\0';
        info.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, row.Text);
        EXPECT_GT(std::wstring(text).size(), 5u);
    }
    EXPECT_STRNE(kAboutToolTips[0].Text, kAboutToolTips[1].Text);
}

TEST_F(AboutDialogTest, ThePictureIsDrawnAtItsPixelSizeFromTheTopLeftCorner) {
    Canvas picture(kPictureWidth, kPictureHeight);
    ASSERT_TRUE(LoadAboutPicture(picture));
    ASSERT_TRUE(Dialog().Load());
    // Larger than the picture at 144 DPI, so the area it leaves uncovered shows too.
    SendDpiChanged(Dialog().Handle(), 144, RECT{0, 0, 0, 0});
    RECT client{};
    GetClientRect(Dialog().Handle(), &client);
    ASSERT_EQ(client.right, 450);
    ASSERT_EQ(client.bottom, 501);
    Canvas painted(client.right, client.bottom);
    ASSERT_TRUE(painted.Ok());
    EXPECT_NE(
        SendMessageW(Dialog().Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(painted.Dc()), 0),
        0);
    // The picture at its pixel size; beyond it its edges carry on, dark enough for the light text.
    EXPECT_EQ(
        CountPixels(painted, [&](int x, int y,
                                 std::uint32_t pixel) { return pixel != Backdrop(picture, x, y); }),
        0);
    EXPECT_EQ(CountPixels(painted,
                          [](int x, int y, std::uint32_t pixel) {
                              return (x >= kPictureWidth || y >= kPictureHeight) &&
                                     Brightness(pixel) >= 128;
                          }),
              0);
}

TEST_F(AboutDialogTest, TheVersionLineIsDrawnTransparentInTheWindowColour) {
    ASSERT_TRUE(Dialog().Load());
    Canvas dc(8, 8);
    ASSERT_TRUE(dc.Ok());
    const LRESULT brush =
        SendMessageW(Dialog().Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Dc()),
                     reinterpret_cast<LPARAM>(Ctl(kVersion)));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetBkMode(dc.Dc()), TRANSPARENT);
    EXPECT_EQ(GetTextColor(dc.Dc()), GetSysColor(COLOR_WINDOW));
}

// Paints the version label alone into a canvas of its size, as it paints itself on screen.
void PaintLabel(HWND label, const Canvas& canvas) {
    SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
}

TEST_F(AboutDialogTest, TheVersionLabelShowsThePictureBehindItsText) {
    Canvas picture(kPictureWidth, kPictureHeight);
    ASSERT_TRUE(LoadAboutPicture(picture));
    ASSERT_TRUE(Dialog().Load());
    HWND label = Ctl(kVersion);
    const RECT at = RectInParent(label);
    Canvas painted(at.right - at.left, at.bottom - at.top);
    ASSERT_TRUE(painted.Ok());
    const auto behind = [&](int x, int y) {
        return Backdrop(picture, at.left + x, at.top + y);
    };

    // Without its text, the label is exactly the piece of the picture it covers (at high DPI the
    // label lies below the picture's edge, over its last row carried on).
    const std::wstring line = TextOf(label);
    SetWindowTextW(label, L"");
    PaintLabel(label, painted);
    EXPECT_EQ(CountPixels(painted,
                          [&](int x, int y, std::uint32_t pixel) { return pixel != behind(x, y); }),
              0);

    // With it, the text shows light over that piece.
    SetWindowTextW(label, line.c_str());
    PaintLabel(label, painted);
    EXPECT_GT(CountPixels(painted,
                          [&](int x, int y, std::uint32_t pixel) {
                              return pixel != behind(x, y) &&
                                     Brightness(pixel) > Brightness(behind(x, y)) + 64;
                          }),
              20);
}

} // namespace
} // namespace zelvaran::testing
