// What the built exe carries and declares: its version record, its icons in every size, the
// hardening flags, the Windows version it needs, its imports and its size.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "program.h"
#include "resources/resource_ids.h"

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

// Every icon group has the small sizes Windows asks for at 100 to 200 % scaling, and the program's
// own 48 pixels for Explorer; all in 32 bits with alpha, those of 24 pixels and more as PNG.
TEST(ProgramFile, EveryIconGroupHasItsSizesIn32BitsWithAlpha) {
    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    const std::pair<int, std::set<int>> groups[] = {{IDI_ZELVARAN, {16, 20, 24, 32, 48, 64, 255}},
                                                    {IDI_TRAY, {16, 20, 24, 32}},
                                                    {IDI_CONFIG, {16, 20, 24, 32, 64}}};
    for (const auto& [id, sizes] : groups) {
        SCOPED_TRACE(id);
        HRSRC group =
            FindResourceW(exe, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
        ASSERT_NE(group, nullptr);
        const auto* dir = static_cast<const IconDir*>(LockResource(LoadResource(exe, group)));
        ASSERT_NE(dir, nullptr);
        std::set<int> found;
        for (int i = 0; i < dir->Count; ++i) {
            const IconDirEntry& e = dir->Entries[i];
            EXPECT_EQ(e.Width, e.Height);
            EXPECT_EQ(e.BitCount, 32) << int{e.Width};
            found.insert(e.Width == 0 ? 256 : e.Width);
            HRSRC image =
                FindResourceW(exe, MAKEINTRESOURCEW(e.Id), MAKEINTRESOURCEW(3)); // RT_ICON
            ASSERT_NE(image, nullptr);
            auto* bits = static_cast<BYTE*>(LockResource(LoadResource(exe, image)));
            const DWORD size = SizeofResource(exe, image);
            const bool isPng = size >= 8 && std::memcmp(bits, "\x89PNG\r\n\x1a\n", 8) == 0;
            EXPECT_EQ(isPng, e.Width >= 24) << int{e.Width};
            if (!isPng) { // the image's own header says 32 bits too
                ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
                EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(bits)->biBitCount, 32);
            }
            // The system makes an icon of it, at its own size.
            HICON icon =
                CreateIconFromResourceEx(bits, size, TRUE, 0x00030000, e.Width, e.Width, 0);
            ICONINFO info{};
            ASSERT_NE(icon, nullptr) << int{e.Width};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour{};
            GetObjectW(info.hbmColor, sizeof(colour), &colour);
            EXPECT_EQ(colour.bmWidth, e.Width);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
        EXPECT_EQ(found, sizes);
    }
    FreeLibrary(exe);
}

// The exe's headers, read from the file as Windows' loader reads them.
struct PeFile {
    std::vector<char> Bytes;
    const IMAGE_NT_HEADERS64* Nt = nullptr;
    const IMAGE_SECTION_HEADER* Sections = nullptr;

    explicit PeFile(const std::wstring& path) {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        Bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (Bytes.size() < sizeof(IMAGE_DOS_HEADER)) {
            return;
        }
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Bytes.data());
        const auto at = static_cast<std::size_t>(dos->e_lfanew);
        if (dos->e_magic != IMAGE_DOS_SIGNATURE || at + sizeof(IMAGE_NT_HEADERS64) > Bytes.size()) {
            return;
        }
        Nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(Bytes.data() + at);
        Sections = IMAGE_FIRST_SECTION(Nt);
    }
    // The file's bytes at a virtual address, as far as its section reaches.
    [[nodiscard]] const char* At(DWORD rva) const {
        for (WORD i = 0; i < Nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = Sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData &&
                s.PointerToRawData + s.SizeOfRawData <= Bytes.size()) {
                return Bytes.data() + s.PointerToRawData + (rva - s.VirtualAddress);
            }
        }
        return nullptr;
    }
};

TEST(ProgramFile, HardenedLeanAndForWindows10) {
    const PeFile pe(ProgramPath());
    ASSERT_NE(pe.Nt, nullptr);
    EXPECT_LE(pe.Bytes.size(), 600u * 1024u);
    const IMAGE_OPTIONAL_HEADER64& optional = pe.Nt->OptionalHeader;
    ASSERT_EQ(optional.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    constexpr WORD kRequired = IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE |
                               IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA |
                               IMAGE_DLLCHARACTERISTICS_NX_COMPAT;
    EXPECT_EQ(optional.DllCharacteristics & kRequired, kRequired);
    EXPECT_EQ(optional.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(optional.MajorSubsystemVersion, 10);
    EXPECT_EQ(optional.MinorSubsystemVersion, 0);
    EXPECT_EQ(optional.MajorOperatingSystemVersion, 10);
    EXPECT_EQ(optional.MinorOperatingSystemVersion, 0);
    // No symbol table and no debug sections (their long names live in that table too).
    EXPECT_EQ(pe.Nt->FileHeader.PointerToSymbolTable, 0u);
    EXPECT_EQ(pe.Nt->FileHeader.NumberOfSymbols, 0u);
    for (WORD i = 0; i < pe.Nt->FileHeader.NumberOfSections; ++i) {
        const std::string name(reinterpret_cast<const char*>(pe.Sections[i].Name),
                               strnlen(reinterpret_cast<const char*>(pe.Sections[i].Name), 8));
        EXPECT_TRUE(name.starts_with('.') && name.find("debug") == std::string::npos) << name;
    }
}

// A DLL the exe imports is looked for in the exe's own folder first, unless Windows always maps
// it from System32 (the KnownDLLs) or the manifest binds it (comctl32 6, from WinSxS).
TEST(ProgramFile, ImportsOnlyDllsThatCannotBePlantedBesideIt) {
    const std::set<std::wstring> allowed{
        L"advapi32.dll", L"comctl32.dll", L"comdlg32.dll", L"gdi32.dll",
        L"imm32.dll",    L"kernel32.dll", L"msvcrt.dll",   L"ole32.dll",
        L"oleaut32.dll", L"rpcrt4.dll",   L"sechost.dll",  L"shcore.dll",
        L"shell32.dll",  L"shlwapi.dll",  L"user32.dll",   L"ws2_32.dll"};
    const PeFile pe(ProgramPath());
    ASSERT_NE(pe.Nt, nullptr);
    const IMAGE_DATA_DIRECTORY& delayed =
        pe.Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
    EXPECT_EQ(delayed.Size, 0u);
    const char* table =
        pe.At(pe.Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    ASSERT_NE(table, nullptr);
    std::set<std::wstring> imported;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(table); d->Name != 0; ++d) {
        const char* name = pe.At(d->Name);
        ASSERT_NE(name, nullptr);
        std::wstring lower(name, name + strlen(name));
        std::transform(lower.begin(), lower.end(), lower.begin(), towlower);
        imported.insert(lower);
        EXPECT_TRUE(allowed.contains(lower)) << name;
    }
    EXPECT_TRUE(imported.contains(L"kernel32.dll"));
    EXPECT_FALSE(imported.contains(L"bcrypt.dll"));

    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    HRSRC manifest = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(exe, manifest))),
                           SizeofResource(exe, manifest));
    EXPECT_NE(text.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"),
              std::string::npos);
    FreeLibrary(exe);
}

} // namespace
} // namespace zelvaran::testing
