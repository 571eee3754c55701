#include "registry_sandbox.h"

#include <sddl.h>

#include <cstdlib>
#include <cstring>

namespace zelvaran::testing {
namespace {

struct Key {
    HKEY Handle = nullptr;
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (Handle != nullptr) {
            RegCloseKey(Handle);
        }
    }
};

} // namespace

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void CleanConfigRegistry() {
    static_cast<void>(RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath));
    static_cast<void>(RegDeleteKeyW(HKEY_CURRENT_USER, kAppKeyPath));
    static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunPath, L"Zelvaran"));
    static_cast<void>(DeleteValue(HKEY_CURRENT_USER, kRunPath, L"Zelvaran"));
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        static_cast<void>(DeleteValue(root, kStartupApprovedPath, L"Zelvaran"));
    }
}

bool KeyExists(HKEY root, const wchar_t* path) {
    Key key;
    return RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key.Handle) == ERROR_SUCCESS;
}

std::optional<RawValue> ReadValue(HKEY root, const wchar_t* path, const wchar_t* name) {
    Key key;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key.Handle) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Handle, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key.Handle, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RawValue value;
    value.Type = type;
    value.Text.resize(size / sizeof(wchar_t));
    if (!value.Text.empty()) {
        std::memcpy(value.Text.data(), data.data(), value.Text.size() * sizeof(wchar_t));
    }
    if (!value.Text.empty() && value.Text.back() == L'\0') {
        value.Text.pop_back();
    }
    return value;
}

bool WriteValue(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type,
                std::wstring_view text, bool withTerminator) {
    Key key;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key.Handle, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    std::wstring data(text);
    const DWORD bytes =
        static_cast<DWORD>((data.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
    return RegSetValueExW(key.Handle, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                          bytes) == ERROR_SUCCESS;
}

bool DeleteValue(HKEY root, const wchar_t* path, const wchar_t* name) {
    Key key;
    if (RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, &key.Handle) != ERROR_SUCCESS) {
        return false;
    }
    return RegDeleteValueW(key.Handle, name) == ERROR_SUCCESS;
}

std::optional<RawValue> Stored(const wchar_t* key) {
    return ReadValue(HKEY_CURRENT_USER, kSettingsKeyPath, key);
}

bool Store(const wchar_t* key, std::wstring_view text) {
    return WriteValue(HKEY_CURRENT_USER, kSettingsKeyPath, key, REG_SZ, text);
}

std::optional<RawValue> RunEntry(HKEY root) {
    return ReadValue(root, kRunPath, L"Zelvaran");
}

std::optional<std::wstring> StoredText(const wchar_t* key) {
    const auto value = Stored(key);
    return value ? std::optional<std::wstring>(value->Text) : std::nullopt;
}

std::optional<DWORD> StoredType(const wchar_t* key) {
    const auto value = Stored(key);
    return value ? std::optional<DWORD>(value->Type) : std::nullopt;
}

std::optional<std::wstring> RunText(HKEY root) {
    const auto value = RunEntry(root);
    return value ? std::optional<std::wstring>(value->Text) : std::nullopt;
}

bool SetRunEntry(std::wstring_view text, DWORD type, HKEY root) {
    return WriteValue(root, kRunPath, L"Zelvaran", type, text);
}

std::wstring ThisProgramPath() {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return path;
}

std::wstring ThisProgramQuoted() {
    return L"\"" + ThisProgramPath() + L"\"";
}

ReadOnlyKey::ReadOnlyKey(HKEY root, const wchar_t* path) : root_(root), path_(path) {
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
        key_ = nullptr;
        return;
    }
    DWORD size = 0;
    if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size) !=
        ERROR_INSUFFICIENT_BUFFER) {
        return;
    }
    original_.resize(size);
    if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data(), &size) !=
        ERROR_SUCCESS) {
        return;
    }
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                              &readOnly, nullptr)) {
        return;
    }
    applied_ = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
    LocalFree(readOnly);
}

ReadOnlyKey::~ReadOnlyKey() {
    if (applied_) {
        const LSTATUS restored =
            RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data());
        EXPECT_EQ(restored, ERROR_SUCCESS) << "the key keeps its read-only security";
        Key probe;
        EXPECT_EQ(RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE, &probe.Handle),
                  ERROR_SUCCESS);
    }
    if (key_ != nullptr) {
        RegCloseKey(key_);
    }
}

bool ReadOnlyKey::Denies() const {
    if (!applied_) {
        return false;
    }
    Key probe;
    return RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE, &probe.Handle) ==
           ERROR_ACCESS_DENIED;
}

void RegistryTest::SetUp() {
    // The tests delete the program's settings and start-up entry: only in a throwaway Wine prefix,
    // unless someone says explicitly that this machine's registry may be changed.
    const char* allowed = std::getenv("ZELVARAN_TESTS_MAY_CHANGE_REGISTRY");
    if (!RunningUnderWine() && (allowed == nullptr || std::strcmp(allowed, "1") != 0)) {
        GTEST_SKIP() << "not under Wine: set ZELVARAN_TESTS_MAY_CHANGE_REGISTRY=1 to run anyway";
    }
    sandboxed_ = true;
    // A test program that died inside a ReadOnlyKey leaves the key read-only until the
    // wineserver restarts (Wine keeps key security in memory only).
    HKEY probe = nullptr;
    ASSERT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunPath, 0, KEY_SET_VALUE, &probe),
              ERROR_ACCESS_DENIED)
        << "the Run key is read-only: restart the wineserver of this prefix";
    if (probe != nullptr) {
        RegCloseKey(probe);
    }
    CleanConfigRegistry();
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppKeyPath));
    ASSERT_FALSE(RunEntry());
    // The Run key exists on every installed system; the denied-write tests need it.
    HKEY run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunPath, 0, nullptr, 0, KEY_QUERY_VALUE, nullptr,
                              &run, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(run);
}

void RegistryTest::TearDown() {
    if (sandboxed_) {
        CleanConfigRegistry();
    }
}

} // namespace zelvaran::testing
