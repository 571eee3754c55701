// A portable copy of the program takes no DLL from its own folder: the system's generator comes
// from System32 or not at all, and without it no password is made.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "generator/generator.h"
#include "mainwindow/main_layout.h"
#include "program.h"
#include "resources/product.h"

namespace zelvaran::testing {
namespace {

using namespace mainwindow;

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring PlantedDll() {
    // <build>/zelvaran.exe -> <build>/tests/e2e/planted/bcrypt.dll
    const std::wstring exe = ProgramPath();
    return exe.substr(0, exe.find_last_of(L'\\')) + L"\\tests\\e2e\\planted\\bcrypt.dll";
}

// A folder of its own in the temp folder, emptied of the files named here and removed at the end.
class Folder {
public:
    explicit Folder(const wchar_t* name) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"zelvaran-" + name + L"-" +
                std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() {
        for (const wchar_t* file : {L"zelvaran.exe", L"bcrypt.dll", L"bcrypt.dll.loaded",
                                    L"probe.dll", L"probe.dll.loaded"}) {
            DeleteFileW((path_ + L"\\" + file).c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    [[nodiscard]] std::wstring operator/(const wchar_t* file) const { return path_ + L"\\" + file; }
    [[nodiscard]] const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine's load order for bcrypt.dll in the program's processes started meanwhile, kept in the
// test's own Wine prefix (Wine reads no override from a child's environment).
class WineLoadOrder {
public:
    explicit WineLoadOrder(const wchar_t* order) {
        const auto bytes = static_cast<DWORD>((wcslen(order) + 1) * sizeof(wchar_t));
        set_ = RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"bcrypt", REG_SZ, order, bytes) ==
               ERROR_SUCCESS;
    }
    WineLoadOrder(const WineLoadOrder&) = delete;
    WineLoadOrder& operator=(const WineLoadOrder&) = delete;
    ~WineLoadOrder() {
        if (set_) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"bcrypt");
        }
    }
    [[nodiscard]] bool Set() const { return set_; }

private:
    static constexpr const wchar_t* kKey =
        L"Software\\Wine\\AppDefaults\\zelvaran.exe\\DllOverrides";
    bool set_;
};

struct Case {
    const wchar_t* Name;
    // Wine prefers its own bcrypt.dll to one beside the exe; "native,builtin" makes it look
    // beside the exe first, as Windows does for a DLL it does not protect. "" leaves it no
    // bcrypt.dll at all, which only Wine can do.
    const wchar_t* LoadOrder;
    bool Generates;
};

TEST(PlantedDll, ABcryptDllBesideACopyOfTheProgramIsNeverLoaded) {
    const Case cases[] = {{L"planted", L"native,builtin", true}, {L"no-bcrypt", L"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (!c.Generates && !UnderWine()) {
            continue;
        }
        const Folder folder(c.Name);
        ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), (folder / L"zelvaran.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(PlantedDll().c_str(), (folder / L"bcrypt.dll").c_str(), FALSE));
        std::optional<WineLoadOrder> wine;
        if (UnderWine()) {
            ASSERT_TRUE(wine.emplace(c.LoadOrder).Set());
        }
        RunningProgram program(folder.Path(), folder / L"zelvaran.exe");
        HWND main = program.WaitForWindow(L"Zelvaran.frmMain");
        ASSERT_NE(main, nullptr);
        HWND password = FindControlById(main, kTxtPassword);

        PostClick(FindControlById(main, kCmdGennerate));
        if (c.Generates) {
            const ULONGLONG end = GetTickCount64() + 10000;
            while (RemoteText(password).empty() && GetTickCount64() < end) {
                Sleep(20);
            }
            EXPECT_EQ(RemoteText(password).size(), 5u);
        } else {
            HWND box = program.WaitForMessageBox(kErrorTitle);
            ASSERT_NE(box, nullptr);
            const std::u16string_view message =
                GenerationError{GenerationErrorKind::RandomUnavailable}.Message();
            EXPECT_EQ(MessageBoxText(box), std::wstring(message.begin(), message.end()));
            DismissMessageBox(box);
            EXPECT_EQ(RemoteText(password), L"");
        }
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
        EXPECT_FALSE(Exists(folder / L"bcrypt.dll.loaded"));
    }

    // The stand-in does leave its mark when something does load it.
    const Folder probe(L"probe");
    ASSERT_TRUE(CopyFileW(PlantedDll().c_str(), (probe / L"probe.dll").c_str(), FALSE));
    HMODULE loaded = LoadLibraryW((probe / L"probe.dll").c_str());
    ASSERT_NE(loaded, nullptr);
    FreeLibrary(loaded);
    EXPECT_TRUE(Exists(probe / L"probe.dll.loaded"));
}

} // namespace
} // namespace zelvaran::testing
