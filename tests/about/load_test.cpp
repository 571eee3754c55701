// The load step: what Load() does to a dialog that is not loaded, and that it does it only once.
#include "about_fixture.h"

namespace zelvaran::testing {
namespace {

using namespace about;

constexpr const wchar_t* kTitle = L"Morvantic SecurityZelvaran v1.0.42";
constexpr const wchar_t* kVersionLine = L"Versi\u00F3n: 1.0.42";

TEST_F(AboutDialogTest, NothingExistsBeforeTheFirstLoad) {
    EXPECT_FALSE(Dialog().IsLoaded());
    EXPECT_EQ(Dialog().Handle(), nullptr);
    EXPECT_EQ(Dialog().LoadCount(), 0);
    EXPECT_EQ(Ctl(kVersion), nullptr);
    EXPECT_EQ(CountAboutWindows(), 0);
}

TEST_F(AboutDialogTest, LoadSetsTheTitleAndVersionLineAndStaysHidden) {
    ASSERT_TRUE(Dialog().Load());
    Pump();
    ASSERT_TRUE(Dialog().IsLoaded());
    HWND dialog = Dialog().Handle();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(TextOf(dialog), kTitle);
    EXPECT_EQ(TextOf(Ctl(kVersion)), kVersionLine);
    EXPECT_EQ(Dialog().LoadCount(), 1);
    EXPECT_EQ(CountAboutWindows(), 1);
}

TEST_F(AboutDialogTest, SecondLoadKeepsTheWindowAndRunsNoLoadStep) {
    ASSERT_TRUE(Dialog().Load());
    HWND first = Dialog().Handle();
    // A load step that ran again would write the texts back.
    SetWindowTextW(first, L"marca");
    SetWindowTextW(Ctl(kVersion), L"marca");
    ASSERT_TRUE(Dialog().Load());
    Pump();
    EXPECT_EQ(Dialog().Handle(), first);
    EXPECT_EQ(Dialog().LoadCount(), 1);
    EXPECT_EQ(TextOf(first), L"marca");
    EXPECT_EQ(TextOf(Ctl(kVersion)), L"marca");
    EXPECT_EQ(CountAboutWindows(), 1);
    EXPECT_FALSE(IsWindowVisible(first));
}

TEST_F(AboutDialogTest, ControlsExistOnceLoaded) {
    ASSERT_TRUE(Dialog().Load());
    for (const ui::ControlSpec& row : kAboutControls) {
        SCOPED_TRACE(std::wstring(row.Name).c_str());
        HWND control = Ctl(row.Id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), Dialog().Handle());
        EXPECT_EQ(GetDlgCtrlID(control), row.Id);
    }
}

} // namespace
} // namespace zelvaran::testing
