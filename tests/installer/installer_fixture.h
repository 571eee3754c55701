// The installer test suite's shared ground: where the setup puts things, how a setup or
// uninstaller is run to its end, the installed program started from outside, and the fixture.
// The suite installs once; a test that uninstalls leaves the next one a fresh installation, so
// the tests need no particular order.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "job_process.h"
#include "machine_state.h"
#include "ui/handles.h"

namespace zelvaran::testing {

inline const std::wstring kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SecurityZelvaran";
inline const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::wstring kSettingsKey = L"Software\\VB and VBA Program Settings\\Zelvaran";
inline const std::wstring kSettingsSection = kSettingsKey + L"\\Settings";
inline constexpr DWORD kSetupMs = 60000;
inline constexpr DWORD kWindowMs = 15000;

[[nodiscard]] std::wstring Quoted(const std::wstring& path);

// The build's outputs, two folders above this test exe.
[[nodiscard]] std::wstring BuildFolder();
[[nodiscard]] std::wstring SetupPath();
// Where the setup installs by default, for all users.
[[nodiscard]] std::wstring MakerFolder();
[[nodiscard]] std::wstring InstallFolder();
[[nodiscard]] std::wstring InstalledExe();
[[nodiscard]] std::wstring InstalledHelp();
[[nodiscard]] std::wstring Uninstaller();
[[nodiscard]] std::wstring Shortcut();

[[nodiscard]] bool Installed();
// A REG_SZ value of the Programs and Features entry; empty when absent or of another type.
[[nodiscard]] std::wstring UninstallText(const wchar_t* name);

struct RunResult {
    bool Started = false;
    bool Finished = false;
    DWORD ExitCode = 1;
};

// Runs a command line until every process it started has ended, within `ms`.
[[nodiscard]] RunResult RunToEnd(const std::wstring& commandLine, DWORD ms = kSetupMs);
[[nodiscard]] RunResult SilentInstall();
// The command Windows runs for a silent removal, exactly as the installer registered it.
[[nodiscard]] RunResult QuietUninstall();

// Waits until a registry value is there (or gone), up to `ms`.
[[nodiscard]] std::optional<RegistryValue>
WaitForValue(HKEY root, const std::wstring& key, const std::wstring& name, bool present, DWORD ms);

// The installed zelvaran.exe, started with the temp folder as its current directory, so that
// whatever it finds it finds through its own location.
class InstalledProgram {
public:
    InstalledProgram();

    [[nodiscard]] bool Started() const { return process_.Started(); }
    [[nodiscard]] DWORD Id() const { return process_.Id(); }
    // Its visible top-level window of this class, waited for.
    [[nodiscard]] HWND WaitForWindow(const std::wstring& className) const;
    [[nodiscard]] bool WaitForExit(DWORD ms, DWORD* code = nullptr) const {
        return process_.WaitForExit(ms, code);
    }

private:
    JobProcess process_;
};

// Runs its action when the test ends, passed or not.
class Cleanup {
public:
    explicit Cleanup(std::function<void()> action) : action_(std::move(action)) {}
    Cleanup(const Cleanup&) = delete;
    Cleanup& operator=(const Cleanup&) = delete;
    ~Cleanup() { action_(); }

private:
    std::function<void()> action_;
};

class InstallerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // How the suite's first silent install went.
    static RunResult install_;

private:
    static ui::UniqueWindow anchor_;
};

} // namespace zelvaran::testing
