// The configuration dialog as a window: its table, frame, title, icons, place on screen, task-bar
// presence, keyboard and the close-and-reopen cycle.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "config/caption_fit.h"
#include "form2_fixture.h"
#include "layout_expect.h"
#include "ui/controls.h"

namespace zelvaran::testing {
namespace {

using namespace config;

class Form2WindowTest : public Form2Test {};

// A check box whose caption needs more than the table's width may grow up to the free space on
// its right; every other control keeps the table's width.
int FittedWidth(const ui::ControlSpec& row, HWND control, const ui::PixelRect& want, int dpi) {
    if (row.Kind != ui::ControlKind::CheckBox) {
        return want.Width;
    }
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    const int room =
        ui::TwipsToPixels(RightLimitTwips(kConfigControls, row, 4455), dpi) - want.Left;
    return std::max<int>(want.Width, std::min<int>(ideal.cx, room));
}

TEST_F(Form2WindowTest, EveryControlSitsInItsContainerAtItsTwipsRectangle) {
    ASSERT_TRUE(Open());
    ExpectPlacedAsInTable(*form_, kConfigControls, ui::WindowDpi(form_->Handle()), FittedWidth);
    // The two boxes sit in the frame, "Siempre al Frente" on the left, neither over the other
    // nor over the frame's edge.
    EXPECT_EQ(GetParent(Ctl(kChTop)), Ctl(kConfig));
    EXPECT_EQ(GetParent(Ctl(kInicio)), Ctl(kConfig));
    EXPECT_LT(RectInParent(Ctl(kChTop)).right, RectInParent(Ctl(kInicio)).left);
    RECT frame{};
    GetClientRect(Ctl(kConfig), &frame);
    EXPECT_LT(RectInParent(Ctl(kInicio)).right, frame.right);
}

TEST(CaptionFit, ACheckBoxMayGrowUpToItsNeighbourOrItsContainersEdge) {
    const auto row = [](int id) {
        return *ui::FindControl(kConfigControls, id);
    };
    // Short of "Iniciar con Windows" on the same row, and of the frame's right edge.
    EXPECT_EQ(config::RightLimitTwips(kConfigControls, row(kChTop), 4455), 2160 - 60);
    EXPECT_EQ(config::RightLimitTwips(kConfigControls, row(kInicio), 4455), 4215 - 60);
    EXPECT_EQ(config::RightLimitTwips(kConfigControls, row(kImage1), 4455), 4455 - 60);
    // Controls on another row or in another container are no neighbours; a control already
    // wider than the room keeps its width.
    using enum ui::ControlKind;
    const ui::ControlSpec table[] = {
        {1, L"a", CheckBox, ui::kWindow, L"a", 0, {100, 100, 500, 200}, 0},
        {2, L"b", CheckBox, ui::kWindow, L"b", 0, {900, 400, 500, 200}, 1},
        {3, L"c", Frame, ui::kWindow, L"c", 0, {0, 1000, 2000, 900}, 2},
        {4, L"d", CheckBox, 3, L"d", 0, {700, 100, 500, 200}, 3},
        {5, L"e", CheckBox, ui::kWindow, L"e", 0, {1500, 100, 500, 200}, 4},
        {6, L"f", CheckBox, 3, L"f", 0, {100, 100, 1950, 200}, 5},
    };
    EXPECT_EQ(config::RightLimitTwips(table, table[0], 3000), 1500 - 60);
    EXPECT_EQ(config::RightLimitTwips(table, table[1], 3000), 3000 - 60);
    EXPECT_EQ(config::RightLimitTwips(table, table[3], 3000), 2000 - 60);
    EXPECT_EQ(config::RightLimitTwips(table, table[5], 3000), 2050);
}

TEST_F(Form2WindowTest, ClientAreaIsTheTableSizeCentredOnTheScreen) {
    ASSERT_TRUE(Open());
    const int dpi = ui::WindowDpi(form_->Handle());
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(4455, dpi));
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(1680, dpi));
    RECT outer{};
    GetWindowRect(form_->Handle(), &outer);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_NEAR((outer.left + outer.right) / 2.0, (work.left + work.right) / 2.0, 1.0);
    EXPECT_NEAR((outer.top + outer.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.0);
}

TEST_F(Form2WindowTest, TitleAndAFixedFrameWithTheCloseBoxOnly) {
    ASSERT_TRUE(Open());
    HWND form = form_->Handle();
    EXPECT_EQ(TextOf(form), L"Configuracion Security Zelvaran");
    const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_CHILD, 0);
    // No OK, Cancel or Apply: the boxes act at once, so Enter has no default button to press.
    for (const ui::ControlSpec& row : kConfigControls) {
        EXPECT_NE(row.Kind, ui::ControlKind::Button);
        EXPECT_EQ(row.Flags & ui::kDefaultButton, 0u);
    }
}

TEST_F(Form2WindowTest, NotOnTheTaskBarYetWithItsCaptionAndIcon) {
    ASSERT_TRUE(Open());
    HWND form = form_->Handle();
    const LONG_PTR exStyle = GetWindowLongPtrW(form, GWL_EXSTYLE);
    // A tool window would lose the icon; an app window would be on the task bar.
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0);
    // An owned top-level window gets no task-bar button; its owner is a hidden window of its own.
    HWND owner = GetWindow(form, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_EQ(GetWindow(owner, GW_OWNER), nullptr);
    wchar_t ownerClass[64] = {};
    GetClassNameW(owner, ownerClass, 64);
    EXPECT_STRNE(ownerClass, L"Zelvaran.frmMain");
}

TEST_F(Form2WindowTest, BigAndSmallIconsAtTheSystemSizes) {
    ASSERT_TRUE(Open());
    const struct {
        WPARAM Which;
        int Width;
        int Height;
    } icons[] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
    HICON seen[2] = {};
    int i = 0;
    for (const auto& icon : icons) {
        auto* handle =
            reinterpret_cast<HICON>(SendMessageW(form_->Handle(), WM_GETICON, icon.Which, 0));
        ASSERT_NE(handle, nullptr);
        seen[i++] = handle;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(handle, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap),
                   &bitmap);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(icon.Width));
        EXPECT_EQ(bitmap.bmHeight, GetSystemMetrics(icon.Height) * (info.hbmColor ? 1 : 2));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    EXPECT_NE(seen[0], seen[1]);
}

TEST_F(Form2WindowTest, OpensWithItsCaptionsBannerAndBothBoxesUnchecked) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(TextOf(Ctl(kConfig)), L"Configuracion");
    EXPECT_EQ(TextOf(Ctl(kChTop)), L"Siempre al Frente");
    EXPECT_EQ(TextOf(Ctl(kInicio)), L"Iniciar con Windows");
    EXPECT_EQ(Check(kChTop), BST_UNCHECKED);
    EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
    for (int id : {kChTop, kInicio}) {
        const LONG_PTR style = GetWindowLongPtrW(Ctl(id), GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
        EXPECT_NE(style & WS_TABSTOP, 0);
    }
    HWND banner = Ctl(kImage1);
    EXPECT_EQ(GetWindowLongPtrW(banner, GWL_STYLE) & WS_TABSTOP, 0);
    auto* bitmap = reinterpret_cast<HBITMAP>(SendMessageW(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, 279);
    EXPECT_EQ(info.bmHeight, 47);
}

TEST_F(Form2WindowTest, RelaysOutAtTheNewDpi) {
    ASSERT_TRUE(Open());
    SendDpiChanged(form_->Handle(), 144, {100, 100, 600, 400});
    // 10 twips to a pixel at 144 DPI.
    EXPECT_EQ(PixelsInParent(Ctl(kConfig)), (ui::PixelRect{12, 84, 422, 74}));
    ExpectPlacedAsInTable(*form_, kConfigControls, 144, FittedWidth);
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(client.right, 446); // 4455 twips, rounded
    EXPECT_EQ(client.bottom, 168);
    RECT outer{};
    GetWindowRect(form_->Handle(), &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 100);
}

TEST_F(Form2WindowTest, TabGoesBetweenTheTwoBoxesAndSpaceClicks) {
    ASSERT_TRUE(Open());
    SetForegroundWindow(form_->Handle());
    SetFocus(Ctl(kChTop));
    ASSERT_EQ(GetFocus(), Ctl(kChTop));
    EXPECT_EQ(PressTab(GetFocus()), Ctl(kInicio));
    EXPECT_EQ(PressTab(GetFocus()), Ctl(kChTop));
    // Space is the box's own: down and up on the focused box click it.
    SendMessageW(Ctl(kChTop), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(Ctl(kChTop), WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(Check(kChTop), BST_CHECKED);
    ASSERT_TRUE(Stored(L"ChTop"));
    EXPECT_EQ(StoredText(L"ChTop"), L"1");
}

TEST_F(Form2WindowTest, CloseUnloadsAndTheNextShowLoadsAgain) {
    ASSERT_TRUE(Open());
    HWND first = form_->Handle();
    EXPECT_TRUE(form_->IsLoaded());
    CloseBox();
    EXPECT_FALSE(form_->IsLoaded());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(form_->Control(kChTop), nullptr);
    // Stored while the dialog was closed: only a new load step can show it.
    ASSERT_TRUE(Store(L"ChTop", L"1"));
    ASSERT_TRUE(Open());
    EXPECT_TRUE(form_->IsLoaded());
    EXPECT_TRUE(IsWindowVisible(form_->Handle()));
    EXPECT_EQ(Check(kChTop), BST_CHECKED);
    EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
}

TEST_F(Form2WindowTest, ShowingALoadedDialogRunsNoLoadStep) {
    ASSERT_TRUE(Open());
    HWND first = form_->Handle();
    ASSERT_TRUE(Store(L"ChTop", L"1"));
    ShowWindow(first, SW_HIDE);
    ASSERT_TRUE(Open());
    EXPECT_EQ(form_->Handle(), first);
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_EQ(Check(kChTop), BST_UNCHECKED);
}

} // namespace
} // namespace zelvaran::testing
