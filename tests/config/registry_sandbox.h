// What the configuration tests need of the registry, read and written with the plain API so that
// the code under test is checked by something other than itself. Every test starts and ends with
// the program's values removed; outside Wine the tests refuse to run, so that a developer's own
// settings and start-up entry are never touched.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvaran::testing {

inline constexpr const wchar_t* kAppKeyPath = L"Software\\VB and VBA Program Settings\\Zelvaran";
inline constexpr const wchar_t* kSettingsKeyPath =
    L"Software\\VB and VBA Program Settings\\Zelvaran\\Settings";
inline constexpr const wchar_t* kRunPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kStartupApprovedPath =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

struct RawValue {
    DWORD Type = REG_NONE;
    std::wstring Text; // the data as UTF-16, without one trailing terminator
};

[[nodiscard]] bool RunningUnderWine();
// Removes the "Zelvaran" settings application, the Run entries of both roots and their Startup
// tab switches.
void CleanConfigRegistry();

[[nodiscard]] bool KeyExists(HKEY root, const wchar_t* path);
[[nodiscard]] std::optional<RawValue> ReadValue(HKEY root, const wchar_t* path,
                                                const wchar_t* name);
[[nodiscard]] bool WriteValue(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type,
                              std::wstring_view text, bool withTerminator = true);
[[nodiscard]] bool DeleteValue(HKEY root, const wchar_t* path, const wchar_t* name);

// Shorthands for the two places the program writes.
[[nodiscard]] std::optional<RawValue> Stored(const wchar_t* key);
[[nodiscard]] bool Store(const wchar_t* key, std::wstring_view text);
[[nodiscard]] std::optional<RawValue> RunEntry(HKEY root = HKEY_LOCAL_MACHINE);
// The same, for comparing: nothing when absent, so a missing value fails a check rather than
// the test program.
[[nodiscard]] std::optional<std::wstring> StoredText(const wchar_t* key);
[[nodiscard]] std::optional<DWORD> StoredType(const wchar_t* key);
[[nodiscard]] std::optional<std::wstring> RunText(HKEY root = HKEY_LOCAL_MACHINE);
[[nodiscard]] bool SetRunEntry(std::wstring_view text, DWORD type = REG_SZ,
                               HKEY root = HKEY_LOCAL_MACHINE);

// What the Run entry must hold: this test program's full path in double quotes.
[[nodiscard]] std::wstring ThisProgramPath();
[[nodiscard]] std::wstring ThisProgramQuoted();

// Lets a key be read but not written (SDDL "D:P(A;;KR;;;WD)") until destroyed, then puts its
// original security back. Creates the key first when it is missing.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const wchar_t* path);
    ~ReadOnlyKey();
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
    // True once the key really refuses write access.
    [[nodiscard]] bool Denies() const;

private:
    HKEY root_;
    std::wstring path_;
    HKEY key_ = nullptr;
    std::vector<BYTE> original_;
    bool applied_ = false;
};

// Registry tests start and end with a clean slate.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    [[nodiscard]] bool Sandboxed() const { return sandboxed_; }

private:
    bool sandboxed_ = false;
};

} // namespace zelvaran::testing
