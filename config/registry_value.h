// The few registry operations the settings store and the start-up entry share, with every key
// handle owned by a UniqueRegKey.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/handles.h"

namespace zelvaran::config {

// A value as it was found: its type and its data, byte for byte, so it can be put back exactly.
struct RegistryValue {
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
};

// Opens an existing key. ERROR_FILE_NOT_FOUND when it is not there.
[[nodiscard]] LSTATUS OpenRegistryKey(HKEY root, const wchar_t* path, REGSAM access,
                                      ui::UniqueRegKey& key) noexcept;
// Opens a key, creating it and the keys above it when missing.
[[nodiscard]] LSTATUS CreateRegistryKey(HKEY root, const wchar_t* path, REGSAM access,
                                        ui::UniqueRegKey& key) noexcept;

// Reads one value of an open key. ERROR_FILE_NOT_FOUND when it is absent.
[[nodiscard]] LSTATUS ReadRegistryValue(HKEY key, const wchar_t* name,
                                        RegistryValue& value) noexcept;
// Writes text as REG_SZ, terminator included.
[[nodiscard]] LSTATUS WriteRegistryText(HKEY key, const wchar_t* name,
                                        std::wstring_view text) noexcept;
[[nodiscard]] LSTATUS WriteRegistryValue(HKEY key, const wchar_t* name,
                                         const RegistryValue& value) noexcept;

// The text of a REG_SZ value, without its terminator; nothing for any other type.
[[nodiscard]] std::optional<std::wstring> RegistryText(const RegistryValue& value);

} // namespace zelvaran::config
