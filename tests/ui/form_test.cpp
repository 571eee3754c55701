// The skeleton the three forms share, on a form of its own: created centred and hidden at its
// size in twips, laid out again for a new DPI, shown, unloaded, and destroyed without handlers.
#include <gtest/gtest.h>

#include <array>

#include "ui/window.h"
#include "win_helpers.h"

namespace zelvaran::testing {
namespace {

using enum ui::ControlKind;

constexpr int kBox = 101;
constexpr std::array<ui::ControlSpec, 1> kControls{{
    {kBox, L"box", CheckBox, ui::kWindow, L"Caja", ui::kNone, {150, 300, 1500, 300}, 0},
}};
// Wide enough that the smallest window the system allows at 192 DPI does not clamp it at 96 DPI.
constexpr int kWidthTwips = 4500;
constexpr ui::FormShape kShape{
    L"Zelvaran.FormTest", L"Prueba", WS_CAPTION | WS_SYSMENU, 0, kWidthTwips, 1500, kControls, 0};

class TestForm final : public ui::Form {
public:
    explicit TestForm(int& destroys) : ui::Form(kShape), destroys_(destroys) {}
    [[nodiscard]] bool Load() {
        return RegisterFormClass(nullptr, nullptr, nullptr) && CreateCentred(nullptr, nullptr);
    }
    void Show() { ShowAndRaise(); }
    int Relayouts = 0;

private:
    void OnDestroy() noexcept override { ++destroys_; }
    void OnRelayout(int) noexcept override { ++Relayouts; }

    int& destroys_;
};

SIZE ClientOf(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

TEST(FormSkeleton, CreatesCentredAtItsTwipsAndKeepsThemAcrossDpiChanges) {
    int destroys = 0;
    TestForm form(destroys);
    ASSERT_TRUE(form.Load());
    HWND hwnd = form.Handle();
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_FALSE(IsWindowVisible(hwnd));
    const int dpi = ui::WindowDpi(hwnd);
    EXPECT_EQ(ClientOf(hwnd).cx, ui::TwipsToPixels(kWidthTwips, dpi));
    EXPECT_EQ(ClientOf(hwnd).cy, ui::TwipsToPixels(1500, dpi));
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    const POINT centred = ui::CentredOnScreen({outer.right - outer.left, outer.bottom - outer.top});
    EXPECT_EQ(outer.left, centred.x);
    EXPECT_EQ(outer.top, centred.y);

    // As Windows sends them when the window crosses to a monitor of another DPI: first
    // WM_GETDPISCALEDSIZE with the present size, then WM_DPICHANGED with a rectangle of the size
    // answered, placed by the system.
    for (const int newDpi : {144, 192, 96, 144}) {
        SCOPED_TRACE(newDpi);
        GetWindowRect(hwnd, &outer);
        SIZE scaled{outer.right - outer.left, outer.bottom - outer.top};
        EXPECT_TRUE(
            SendMessageW(hwnd, WM_GETDPISCALEDSIZE, newDpi, reinterpret_cast<LPARAM>(&scaled)));
        RECT frame{};
        AdjustWindowRectExForDpi(&frame, kShape.Style, FALSE, kShape.ExStyle, newDpi);
        EXPECT_EQ(scaled.cx - (frame.right - frame.left), ui::TwipsToPixels(kWidthTwips, newDpi));
        EXPECT_EQ(scaled.cy - (frame.bottom - frame.top), ui::TwipsToPixels(1500, newDpi));
        RECT suggested{40, 30, 40 + scaled.cx, 30 + scaled.cy};
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                     reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(hwnd, &outer);
        EXPECT_EQ(outer.left, 40);
        EXPECT_EQ(outer.top, 30);
        // The prefix draws every frame at its one DPI, so the whole rectangle is taken as it is
        // only at that DPI; at the others the client area is kept at its twips.
        if (newDpi == dpi) {
            EXPECT_TRUE(EqualRect(&outer, &suggested));
        }
        EXPECT_EQ(ClientOf(hwnd).cx, ui::TwipsToPixels(kWidthTwips, newDpi));
        EXPECT_EQ(ClientOf(hwnd).cy, ui::TwipsToPixels(1500, newDpi));
        EXPECT_EQ(RectInParent(form.Control(kBox)).right, ui::TwipsToPixels(1650, newDpi));
    }
    // A rectangle of another size (a system that scaled the old size itself) still leaves the
    // client area at its twips.
    RECT stretched{40, 30, 400, 300};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&stretched));
    EXPECT_EQ(ClientOf(hwnd).cx, ui::TwipsToPixels(kWidthTwips, 192));
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 30);
    EXPECT_EQ(form.Relayouts, 5);

    form.Show();
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST(FormSkeleton, UnloadingRunsTheHandlersButDestroyingTheObjectDoesNot) {
    int destroys = 0;
    HWND hwnd = nullptr;
    {
        TestForm form(destroys);
        ASSERT_TRUE(form.Load());
        DestroyWindow(form.Handle());
        EXPECT_EQ(destroys, 1);
        EXPECT_FALSE(form.IsLoaded());
        EXPECT_EQ(form.Control(kBox), nullptr);
        // Loaded again, then destroyed with the object: its handlers no longer run by then.
        ASSERT_TRUE(form.Load());
        hwnd = form.Handle();
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(destroys, 1);
}

} // namespace
} // namespace zelvaran::testing
