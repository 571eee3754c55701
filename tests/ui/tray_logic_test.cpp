// What the notification-area icon's reports do, and the text fields of its record.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/tray_logic.h"

namespace zelvaran::mainwindow {
namespace {

TEST(TrayAction, ClicksSelectionsAndTheBalloonRestoreTheRightButtonRaises) {
    for (int code : {514, 515, 0x400, 0x401, 0x405}) {
        EXPECT_EQ(ActionForCode(code), TrayAction::Restore) << code;
    }
    for (int code : {517, 0x7B}) {
        EXPECT_EQ(ActionForCode(code), TrayAction::Foreground) << code;
    }
    for (int code : {0, 512, 513, 516, 518, 519, 520, -514, 0x402, 0x403, 0x404, 0x406, 0x407}) {
        EXPECT_EQ(ActionForCode(code), TrayAction::None) << code;
    }
}

// wParam, lParam and where the pointer is, as the window receives them. A version-1 report has
// wParam = the id and lParam = the event; a version-4 report has wParam = the anchor's screen
// position and lParam = the event in the low word, the id in the high word. Real moves over the
// window never act, even those that carry the same numbers.
TEST(TrayAction, OnlyTheIconsReportsActNotTheMouseOverTheWindow) {
    constexpr std::uint64_t kV4 = 1u << 16;       // the icon's id in the high word
    constexpr std::uint64_t kAnchor = 0x041A0708; // x = 1800, y = 1050
    struct Case {
        std::uint64_t WParam;
        std::uint64_t LParam;
        bool PointerOverClient;
        TrayAction Want;
    };
    const Case cases[] = {
        // Version 1, as a shell that refuses version 4 reports.
        {1, 514, false, TrayAction::Restore},    // left button up on the icon
        {1, 515, false, TrayAction::Restore},    // double-click
        {1, 517, false, TrayAction::Foreground}, // right button up (or, there, Enter on the icon)
        {1, 512, false, TrayAction::None},       // the pointer crossing the icon
        {1, 514, true, TrayAction::None},        // left button held, top row, x = 514
        {0, 514, false, TrayAction::None},       // a move with no button held
        {0, 514, true, TrayAction::None},
        {2, 517, false, TrayAction::None},                 // right button held
        {1, (10u << 16) | 514u, false, TrayAction::None},  // y = 10
        {1, 0xFFFFFFFFFFFF0202u, false, TrayAction::None}, // x = 514, y = -1: sign-extended
        {0x101, 514, false, TrayAction::None},             // another id (or flags) in the high bits
        // Version 4 (which events act is the table above; here, how a report is read).
        {kAnchor, kV4 | 0x400, false, TrayAction::Restore},     // NIN_SELECT: click, or Enter
        {kAnchor, kV4 | 517, false, TrayAction::Foreground},    // right button up
        {1, kV4 | 0x401, false, TrayAction::Restore},           // anchored at x = 1, y = 0
        {0, kV4 | 0x400, false, TrayAction::Restore},           // anchored at the corner
        {kAnchor, kV4 | 512, false, TrayAction::None},          // the pointer crossing the icon
        {kAnchor, (2u << 16) | 0x400, false, TrayAction::None}, // another icon's id
        {kAnchor, 0xFFFFFFFF00000000u | kV4 | 0x400, false, TrayAction::None},
        // Real moves at y = 1, whose x is a version-4 event: the pointer is over the window.
        {1, kV4 | 0x400, true, TrayAction::None},
        {0, kV4 | 514, true, TrayAction::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ActionForMouseMove(c.WParam, c.LParam, c.PointerOverClient), c.Want)
            << std::hex << c.WParam << " " << c.LParam << " " << c.PointerOverClient;
    }
}

TEST(TrayRecordField, TextThenNulsToTheEndAndAnOverlongTextIsCut) {
    const auto tip = RecordField<128>(kTrayTipText);
    EXPECT_EQ(std::wstring(tip.data()), L"Security Zelvaran");
    for (std::size_t i = 17; i < tip.size(); ++i) {
        EXPECT_EQ(tip[i], L'\0') << i;
    }
    const auto cut = RecordField<64>(std::wstring(80, L'x'));
    EXPECT_EQ(std::wstring(cut.data()), std::wstring(63, L'x'));
    EXPECT_EQ(cut[63], L'\0');
    // The balloon's text fits its field of 256 whole.
    EXPECT_EQ(std::wstring(RecordField<256>(kTrayNoticeText).data()), kTrayNoticeText);
}

} // namespace
} // namespace zelvaran::mainwindow
