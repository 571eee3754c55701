// What the notification-area icon's reports do, and the tip bytes of its record.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/tray_logic.h"

namespace zelvaran::mainwindow {
namespace {

TEST(TrayAction, OnlyTheThreeCodesAct) {
    EXPECT_EQ(ActionForCode(514), TrayAction::Restore);
    EXPECT_EQ(ActionForCode(515), TrayAction::Restore);
    EXPECT_EQ(ActionForCode(517), TrayAction::Foreground);
    for (int code : {0, 512, 513, 516, 518, 519, 520, -514}) {
        EXPECT_EQ(ActionForCode(code), TrayAction::None) << code;
    }
}

// wParam, lParam and where the pointer is, as the window receives them: the icon's reports act,
// real moves over the window never do, even those that carry the same two numbers.
TEST(TrayAction, OnlyTheIconsReportsActNotTheMouseOverTheWindow) {
    struct Case {
        std::uint64_t WParam;
        std::uint64_t LParam;
        bool PointerOverClient;
        TrayAction Want;
    };
    const Case cases[] = {
        {1, 514, false, TrayAction::Restore},    // left button up on the icon
        {1, 515, false, TrayAction::Restore},    // double-click
        {1, 517, false, TrayAction::Foreground}, // right button up
        {1, 512, false, TrayAction::None},       // the pointer crossing the icon
        {1, 514, true, TrayAction::None},        // left button held, top row, x = 514
        {0, 514, false, TrayAction::None},       // a move with no button held
        {0, 514, true, TrayAction::None},
        {2, 517, false, TrayAction::None},                 // right button held
        {1, (10u << 16) | 514u, false, TrayAction::None},  // y = 10
        {1, 0xFFFFFFFFFFFF0202u, false, TrayAction::None}, // x = 514, y = -1: sign-extended
        {0x101, 514, false, TrayAction::None},             // another id (or flags) in the high bits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ActionForMouseMove(c.WParam, c.LParam, c.PointerOverClient), c.Want)
            << c.WParam << " " << c.LParam << " " << c.PointerOverClient;
    }
}

TEST(TrayTip, TextThenOneNulThenBlanksToSixtyFourBytes) {
    const auto tip = TrayTip(kTrayTipText);
    ASSERT_EQ(tip.size(), 64u);
    EXPECT_EQ(std::string(tip.data(), 17), "Security Zelvaran");
    EXPECT_EQ(tip[17], '\0');
    for (std::size_t i = 18; i < 64; ++i) {
        EXPECT_EQ(tip[i], ' ') << i;
    }
}

TEST(TrayTip, AnOverlongTextIsCutToLeaveRoomForTheNul) {
    const auto tip = TrayTip(std::string(80, 'x'));
    EXPECT_EQ(tip[62], 'x');
    EXPECT_EQ(tip[63], '\0');
}

} // namespace
} // namespace zelvaran::mainwindow
