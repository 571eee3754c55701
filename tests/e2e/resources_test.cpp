// What the built exe carries: its version record and its six-image icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "program.h"

namespace zelvaran::testing {
namespace {

TEST(ProgramFile, VersionRecordIsSpanishAndSays1000042) {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(42, 0)); // .0.42
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0C0A);
    EXPECT_EQ(translation[1], 1200);

    for (const wchar_t* key : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* text = nullptr;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\0C0A04B0\\") + key;
        ASSERT_TRUE(
            VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << key;
        EXPECT_STREQ(text, L"1.00.0042") << key;
    }
}

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE Width;
    BYTE Height;
    BYTE Colours;
    BYTE Reserved;
    WORD Planes;
    WORD BitCount;
    DWORD Bytes;
    WORD Id;
};
struct IconDir {
    WORD Reserved;
    WORD Type;
    WORD Count;
    IconDirEntry Entries[1];
};
#pragma pack(pop)

TEST(ProgramFile, ItsOwnIconHasTheSixImages) {
    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const IconDir*>(LockResource(LoadResource(exe, group)));
    ASSERT_NE(dir, nullptr);
    ASSERT_EQ(dir->Count, 6);
    std::set<std::pair<int, int>> images; // (pixels, bits per pixel)
    for (int i = 0; i < dir->Count; ++i) {
        const IconDirEntry& e = dir->Entries[i];
        EXPECT_EQ(e.Width, e.Height);
        images.insert({e.Width == 0 ? 256 : e.Width, e.BitCount});
    }
    const std::set<std::pair<int, int>> expected{{16, 24}, {24, 24}, {32, 24},
                                                 {48, 24}, {64, 32}, {255, 24}};
    EXPECT_EQ(images, expected);
    FreeLibrary(exe);
}

} // namespace
} // namespace zelvaran::testing
