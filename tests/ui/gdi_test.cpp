// The device-context owners: what they select is current while they live and free afterwards.
#include <gtest/gtest.h>

#include "ui/gdi.h"
#include "ui/handles.h"

namespace zelvaran::testing {
namespace {

TEST(DeviceContexts, ASelectedBitmapIsPutBackSoAnotherContextCanTakeIt) {
    ui::WindowDc screen(nullptr);
    ASSERT_NE(screen.get(), nullptr);
    ui::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 8, 8));
    ASSERT_TRUE(bitmap);
    {
        const ui::MemoryDc first(screen.get(), bitmap.get());
        ASSERT_TRUE(first.ok());
        EXPECT_EQ(GetCurrentObject(first.get(), OBJ_BITMAP), bitmap.get());
        // A bitmap lives in one context at a time.
        const ui::MemoryDc second(screen.get(), bitmap.get());
        EXPECT_FALSE(second.ok());
    }
    const ui::MemoryDc again(nullptr, bitmap.get());
    EXPECT_TRUE(again.ok());
}

TEST(DeviceContexts, AFontIsSelectedOnlyWhileItsOwnerLives) {
    ui::MemoryDc dc(nullptr);
    ASSERT_TRUE(dc.ok());
    ui::UniqueFont font(
        CreateFontW(-40, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    ASSERT_TRUE(font);
    const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
    {
        const ui::SelectedObject selected(dc.get(), font.get());
        EXPECT_TRUE(selected.ok());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get());
        const ui::SelectedObject nothing(dc.get(), nullptr);
        EXPECT_FALSE(nothing.ok());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
}

} // namespace
} // namespace zelvaran::testing
