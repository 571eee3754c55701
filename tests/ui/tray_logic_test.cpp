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
