// Decoding the notification-area icon's reports, and the tip bytes of its record.
#include <gtest/gtest.h>

#include <limits>

#include "mainwindow/tray_logic.h"

namespace zelvaran::mainwindow {
namespace {

TEST(TrayCode, PixelsAreTheCodeItself) {
    EXPECT_EQ(DecodeTrayCode(514, false, 15), 514);
    EXPECT_EQ(DecodeTrayCode(517, false, 15), 517);
    EXPECT_EQ(DecodeTrayCode(-3, false, 15), -3);
}

TEST(TrayCode, TwipsAreDividedAndRoundedHalfToEven) {
    EXPECT_EQ(DecodeTrayCode(7710, true, 15), 514);
    EXPECT_EQ(DecodeTrayCode(7717, true, 15), 514);   // 514.47
    EXPECT_EQ(DecodeTrayCode(7718, true, 15), 515);   // 514.53
    EXPECT_EQ(DecodeTrayCode(7717.5, true, 15), 514); // 514.5 goes to the even 514
    EXPECT_EQ(DecodeTrayCode(7732.5, true, 15), 516); // 515.5 goes to the even 516
    EXPECT_EQ(DecodeTrayCode(5145, true, 10), 514);   // 514.5 at 144 DPI
    EXPECT_EQ(DecodeTrayCode(5155, true, 10), 516);
}

TEST(TrayCode, PositionsBeyondAnIntegerDecodeToNothing) {
    EXPECT_EQ(DecodeTrayCode(1e12, false, 1), 0);
    EXPECT_EQ(DecodeTrayCode(std::numeric_limits<double>::quiet_NaN(), true, 15), 0);
    EXPECT_EQ(ActionForCode(DecodeTrayCode(1e12, false, 1)), TrayAction::None);
}

TEST(TrayAction, OnlyTheThreeCodesAct) {
    EXPECT_EQ(ActionForCode(514), TrayAction::Restore);
    EXPECT_EQ(ActionForCode(515), TrayAction::Restore);
    EXPECT_EQ(ActionForCode(517), TrayAction::Foreground);
    for (int code : {0, 512, 513, 516, 518, 519, 520, -514}) {
        EXPECT_EQ(ActionForCode(code), TrayAction::None) << code;
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
