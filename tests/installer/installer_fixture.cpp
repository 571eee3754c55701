#include "installer_fixture.h"

#include <shlobj.h>

namespace zelvaran::testing {
namespace {

void RemoveLeftovers() {
    DeleteFileW(Shortcut().c_str());
    RemoveFolder(InstallFolder());
    RemoveDirectoryW(MakerFolder().c_str());
    static_cast<void>(DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey));
    static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
}

} // namespace

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}
std::wstring BuildFolder() {
    return ParentOf(ParentOf(OwnFolder()));
}
std::wstring SetupPath() {
    return BuildFolder() + L"\\" + ZELVARAN_SETUP_NAME;
}
std::wstring MakerFolder() {
    return KnownFolder(FOLDERID_ProgramFiles) + L"\\Morvantic";
}
std::wstring InstallFolder() {
    return MakerFolder() + L"\\Security Zelvaran";
}
std::wstring InstalledExe() {
    return InstallFolder() + L"\\zelvaran.exe";
}
std::wstring InstalledHelp() {
    return InstallFolder() + L"\\zelvaran_help.chm";
}
std::wstring Uninstaller() {
    return InstallFolder() + L"\\desinstalar.exe";
}
std::wstring Shortcut() {
    return KnownFolder(FOLDERID_CommonPrograms) + L"\\Security Zelvaran.lnk";
}

bool Installed() {
    return KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey);
}

std::wstring UninstallText(const wchar_t* name) {
    const auto value = ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, name);
    return value && value->Type == REG_SZ ? value->Text() : std::wstring();
}

RunResult RunToEnd(const std::wstring& commandLine, DWORD ms) {
    JobProcess process(commandLine, TempFolder());
    RunResult result;
    result.Started = process.Started();
    if (result.Started) {
        result.Finished = process.WaitForAll(ms) && process.WaitForExit(0, &result.ExitCode);
    }
    return result;
}

RunResult SilentInstall() {
    return RunToEnd(Quoted(SetupPath()) + L" /S");
}

RunResult QuietUninstall() {
    const std::wstring command = UninstallText(L"QuietUninstallString");
    return command.empty() ? RunResult{} : RunToEnd(command);
}

std::optional<RegistryValue> WaitForValue(HKEY root, const std::wstring& key,
                                          const std::wstring& name, bool present, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        auto value = ReadValue(root, key, name);
        if (value.has_value() == present || GetTickCount64() >= end) {
            return value;
        }
        Sleep(20);
    }
}

InstalledProgram::InstalledProgram() : process_(Quoted(InstalledExe()), TempFolder()) {}

HWND InstalledProgram::WaitForWindow(const std::wstring& className) const {
    return WaitForTopLevel([this] { return std::vector<DWORD>{process_.Id()}; },
                           [&](HWND hwnd) { return ClassOf(hwnd) == className; }, kWindowMs);
}

RunResult InstallerTest::install_;
ui::UniqueWindow InstallerTest::anchor_;

void InstallerTest::SetUpTestSuite() {
    // Wine starts its desktop process from the first process that needs a window. Were that a
    // setup in a job, the desktop would die with the job and take every later window with it;
    // and while it lived, the job would never be empty. So this process starts it, and a window
    // of its own keeps it alive for the whole suite.
    anchor_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    // What an interrupted run left behind would hide what this setup does.
    if (Installed()) {
        static_cast<void>(QuietUninstall());
    }
    RemoveLeftovers();
    install_ = SilentInstall();
}

void InstallerTest::TearDownTestSuite() {
    if (Installed()) {
        static_cast<void>(QuietUninstall());
    }
    anchor_.reset();
}

void InstallerTest::SetUp() {
    if (!Installed()) {
        const RunResult again = SilentInstall();
        ASSERT_TRUE(again.Finished && again.ExitCode == 0) << "could not install again";
    }
}

} // namespace zelvaran::testing
