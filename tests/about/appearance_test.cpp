// What the dialog looks like: its icon, the tooltips of the web buttons, the picture behind
// everything and the version line drawn over it.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "about_fixture.h"
#include "resources/resource_ids.h"

namespace zelvaran::testing {
namespace {

using namespace about;

constexpr int kPictureWidth = 300;
constexpr int kPictureHeight = 430;

// The tray image in the title bar and for Alt+Tab, each at its size for the dialog's DPI (checked
// at several DPIs with the other windows' icons in the window tests).
TEST_F(AboutDialogTest, TheWindowCarriesTheTrayImageSmallAndBig) {
    ASSERT_TRUE(Dialog().Load());
    const auto small =
        reinterpret_cast<HICON>(SendMessageW(Dialog().Handle(), WM_GETICON, ICON_SMALL, 0));
    const auto big =
        reinterpret_cast<HICON>(SendMessageW(Dialog().Handle(), WM_GETICON, ICON_BIG, 0));
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
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(Dialog().Handle(), WM_GETICON, ICON_SMALL, 0)),
              before);
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
    RECT suggested{0, 0, 0, 0};
    // Larger than the picture at 144 DPI, so the area it leaves uncovered shows too.
    SendMessageW(Dialog().Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT client{};
    GetClientRect(Dialog().Handle(), &client);
    ASSERT_EQ(client.right, 450);
    ASSERT_EQ(client.bottom, 501);
    Canvas painted(client.right, client.bottom);
    ASSERT_TRUE(painted.Ok());
    EXPECT_NE(
        SendMessageW(Dialog().Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(painted.Dc()), 0),
        0);
    int mismatches = 0;
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            mismatches += painted.Pixel(x, y) != picture.Pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Beyond the picture its edges carry on, dark enough everywhere for the light text.
    int seams = 0;
    int light = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (x < kPictureWidth && y < kPictureHeight) {
                continue;
            }
            const std::uint32_t pixel = painted.Pixel(x, y);
            light += Brightness(pixel) >= 128 ? 1 : 0;
            if (y < kPictureHeight) {
                seams += pixel != picture.Pixel(kPictureWidth - 1, y) ? 1 : 0;
            } else if (x < kPictureWidth) {
                seams += pixel != picture.Pixel(x, kPictureHeight - 1) ? 1 : 0;
            } else {
                seams += pixel != picture.Pixel(kPictureWidth - 1, kPictureHeight - 1) ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(seams, 0);
    EXPECT_EQ(light, 0);
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
    // Past the picture's edge (at high DPI the label lies below it) the backdrop repeats the
    // picture's last row and column.
    auto backdrop = [&picture](int x, int y) {
        return picture.Pixel(x < kPictureWidth ? x : kPictureWidth - 1,
                             y < kPictureHeight ? y : kPictureHeight - 1);
    };

    // Without its text, the label is exactly the piece of the picture it covers.
    const std::wstring line = TextOf(label);
    SetWindowTextW(label, L"");
    PaintLabel(label, painted);
    int mismatches = 0;
    for (int y = 0; y < painted.Height(); ++y) {
        for (int x = 0; x < painted.Width(); ++x) {
            mismatches += painted.Pixel(x, y) != backdrop(at.left + x, at.top + y) ? 1 : 0;
        }
    }
    EXPECT_EQ(mismatches, 0);

    // With it, the text shows light over that piece.
    SetWindowTextW(label, line.c_str());
    PaintLabel(label, painted);
    int light = 0;
    for (int y = 0; y < painted.Height(); ++y) {
        for (int x = 0; x < painted.Width(); ++x) {
            const std::uint32_t pixel = painted.Pixel(x, y);
            const std::uint32_t behind = backdrop(at.left + x, at.top + y);
            if (pixel != behind && Brightness(pixel) > Brightness(behind) + 64) {
                ++light;
            }
        }
    }
    EXPECT_GT(light, 20);
}

} // namespace
} // namespace zelvaran::testing
