// Twips to pixels and the tab order over a layout table, apart from any window.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "ui/layout.h"

namespace zelvaran::ui {
namespace {

TEST(TwipsToPixels, FifteenTwipsAPixelAt96AndTenAt144) {
    EXPECT_EQ(TwipsToPixels(4455, 96), 297);
    EXPECT_EQ(TwipsToPixels(4440, 96), 296);
    EXPECT_EQ(TwipsToPixels(4185, 96), 279);
    EXPECT_EQ(TwipsToPixels(705, 96), 47);
    EXPECT_EQ(TwipsToPixels(900, 144), 90);
    EXPECT_EQ(TwipsToPixels(4440, 144), 444);
    // Halves round away from zero, so both sides of a shared edge move together.
    EXPECT_EQ(TwipsToPixels(4455, 144), 446);
    EXPECT_EQ(TwipsToPixels(7, 96), 0);
    EXPECT_EQ(TwipsToPixels(8, 96), 1);
    EXPECT_EQ(TwipsToPixels(-8, 96), -1);
    EXPECT_EQ(TwipsToPixels(1440, 120), 120);
}

TEST(TwipsToPixels, LargeValuesDoNotOverflow) {
    EXPECT_EQ(TwipsToPixels(2'000'000'000, 144), 200'000'000);
}

TEST(TwipsToPixels, RectanglesConvertEachSide) {
    const PixelRect r = ToPixels({120, 720, 3975, 375}, 144);
    EXPECT_EQ(r, (PixelRect{12, 72, 398, 38}));
}

constexpr std::array<ControlSpec, 7> kTable{{
    {1, L"frame", ControlKind::Frame, kWindow, L"", kNone, {0, 0, 0, 0}, 0},
    {2, L"a", ControlKind::CheckBox, 1, L"", kNone, {0, 0, 0, 0}, 1},
    {3, L"label", ControlKind::Label, 1, L"", kNone, {0, 0, 0, 0}, 2},
    {4, L"c", ControlKind::TextBox, kWindow, L"", kNone, {0, 0, 0, 0}, 5},
    {5, L"b", ControlKind::Button, 1, L"", kNone, {0, 0, 0, 0}, 3},
    {6, L"picture", ControlKind::Picture, kWindow, L"", kNone, {0, 0, 0, 0}, kNoTabStop},
    {7, L"d", ControlKind::Button, kWindow, L"", kNone, {0, 0, 0, 0}, 9},
}};

TEST(NextTabStop, FollowsTabIndicesNotTableOrderAndSkipsWhatCannotFocus) {
    auto all = [](int) {
        return true;
    };
    EXPECT_EQ(NextTabStop(kTable, 2, true, all), 5);
    EXPECT_EQ(NextTabStop(kTable, 5, true, all), 4);
    EXPECT_EQ(NextTabStop(kTable, 4, true, all), 7);
    EXPECT_EQ(NextTabStop(kTable, 7, true, all), 2);  // wraps to the lowest
    EXPECT_EQ(NextTabStop(kTable, 2, false, all), 7); // and backwards to the highest
    EXPECT_EQ(NextTabStop(kTable, 4, false, all), 5);
}

TEST(NextTabStop, DisabledControlsAreSkippedAndNothingFocusableGivesNothing) {
    const std::set<int> disabled{5, 4};
    auto enabled = [&](int id) {
        return disabled.count(id) == 0;
    };
    EXPECT_EQ(NextTabStop(kTable, 2, true, enabled), 7);
    EXPECT_EQ(NextTabStop(kTable, 7, false, enabled), 2);
    EXPECT_EQ(NextTabStop(kTable, 2, true, [](int) { return false; }), std::nullopt);
}

TEST(NextTabStop, FromNoControlStartsAtTheFirstOrTheLast) {
    auto all = [](int) {
        return true;
    };
    EXPECT_EQ(NextTabStop(kTable, 0, true, all), 2);
    EXPECT_EQ(NextTabStop(kTable, 0, false, all), 7);
    EXPECT_EQ(NextTabStop(kTable, 6, true, all), 2); // the picture has no tab index
}

// Work areas as Windows reports them for a desktop of several monitors: the primary at the origin,
// one to its right at 150 %, one to its left at negative coordinates, a task bar at the top.
TEST(Placement, CentredOnTheWorkAreaItIsGivenAndNeverAboveOrLeftOfIt) {
    struct Case {
        PixelRect Work;
        PixelSize Window;
        PixelRect Want;
    };
    const Case cases[] = {
        {{0, 0, 1920, 1040}, {300, 200}, {810, 420, 300, 200}},
        {{1920, 0, 2880, 1560}, {450, 300}, {3135, 630, 450, 300}},
        {{-1280, 0, 1280, 984}, {300, 200}, {-790, 392, 300, 200}},
        {{0, 40, 1920, 1000}, {300, 200}, {810, 440, 300, 200}},
        {{0, 0, 1921, 1041}, {300, 200}, {810, 420, 300, 200}},
        {{0, 0, 800, 600}, {1000, 700}, {0, 0, 1000, 700}},      // larger: caption stays on screen
        {{1920, 0, 800, 600}, {900, 500}, {1920, 50, 900, 500}}, // wider only
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CentredIn(c.Work, c.Window), c.Want) << c.Work.Left << "," << c.Work.Top;
    }
}

// The main window's 4455 x 4350 twips with the frame each DPI gives it: the answer to
// WM_GETDPISCALEDSIZE is the same whichever DPI the window comes from.
TEST(Placement, WindowSizeAtADpiFollowsTheTwipsAlone) {
    struct Case {
        int Dpi;
        PixelSize Frame;
        PixelSize Want;
    };
    const Case cases[] = {
        {96, {16, 59}, {313, 349}},
        {120, {20, 72}, {391, 435}},
        {144, {22, 86}, {468, 521}},
        {192, {30, 113}, {624, 693}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowSizeAt(4455, 4350, c.Dpi, c.Frame), c.Want) << c.Dpi;
    }
}

} // namespace
} // namespace zelvaran::ui
