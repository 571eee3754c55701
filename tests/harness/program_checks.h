// What the end-to-end tests read back from outside the built program: the settings it stored (the
// test prefix's registry only), its notification icon, and its own end.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zelvaran::testing {

// Where the program keeps the user's choices, under HKEY_CURRENT_USER.
inline constexpr const wchar_t* kUserSettingsKey =
    L"Software\\VB and VBA Program Settings\\Zelvaran\\Settings";

// A REG_SZ value as stored; nothing when it is absent or of another type (REG_EXPAND_SZ too).
[[nodiscard]] inline std::optional<std::wstring> RegistryText(HKEY root, const wchar_t* key,
                                                              const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::wstring(data);
}

[[nodiscard]] inline LSTATUS WriteRegistryText(HKEY root, const wchar_t* key, const wchar_t* name,
                                               const std::wstring& text) {
    return RegSetKeyValueW(root, key, name, REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// One of the user's stored choices.
[[nodiscard]] inline std::optional<std::wstring> Stored(const wchar_t* name) {
    return RegistryText(HKEY_CURRENT_USER, kUserSettingsKey, name);
}

// Only an icon the notification area still knows can be modified.
[[nodiscard]] inline bool IconOf(HWND main) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = main;
    probe.uID = 1;
    probe.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// The program ends within `ms` with exit code 0: the unload step's own end, not a crash or a kill.
template <typename Program> void ExpectCleanExit(const Program& program, DWORD ms = 10000) {
    DWORD code = 1;
    EXPECT_TRUE(program.WaitForExit(ms, &code));
    EXPECT_EQ(code, 0u);
}

} // namespace zelvaran::testing
