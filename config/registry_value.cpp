#include "config/registry_value.h"

#include <cstring>
#include <limits>

namespace zelvaran::config {

LSTATUS OpenRegistryKey(HKEY root, const wchar_t* path, REGSAM access,
                        ui::UniqueRegKey& key) noexcept {
    HKEY raw = nullptr;
    const LSTATUS status = RegOpenKeyExW(root, path, 0, access, &raw);
    key.reset(status == ERROR_SUCCESS ? raw : nullptr);
    return status;
}

LSTATUS CreateRegistryKey(HKEY root, const wchar_t* path, REGSAM access,
                          ui::UniqueRegKey& key) noexcept {
    HKEY raw = nullptr;
    const LSTATUS status = RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                           nullptr, &raw, nullptr);
    key.reset(status == ERROR_SUCCESS ? raw : nullptr);
    return status;
}

LSTATUS ReadRegistryValue(HKEY key, const wchar_t* name, RegistryValue& value) noexcept {
    try {
        // Someone may change the value between asking its size and reading it: ask again then.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = REG_NONE;
            DWORD size = 0;
            LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
            if (status != ERROR_SUCCESS) {
                return status;
            }
            value.Data.resize(size);
            status = RegQueryValueExW(key, name, nullptr, &type, value.Data.data(), &size);
            if (status == ERROR_MORE_DATA) {
                continue;
            }
            if (status == ERROR_SUCCESS) {
                value.Type = type;
                value.Data.resize(size);
            }
            return status;
        }
        return ERROR_MORE_DATA;
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

LSTATUS WriteRegistryText(HKEY key, const wchar_t* name, std::wstring_view text) noexcept {
    try {
        const std::wstring terminated(text);
        const std::size_t bytes = (terminated.size() + 1) * sizeof(wchar_t);
        if (bytes > std::numeric_limits<DWORD>::max()) {
            return ERROR_INVALID_PARAMETER;
        }
        return RegSetValueExW(key, name, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(terminated.c_str()),
                              static_cast<DWORD>(bytes));
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

LSTATUS WriteRegistryValue(HKEY key, const wchar_t* name, const RegistryValue& value) noexcept {
    if (value.Data.size() > std::numeric_limits<DWORD>::max()) {
        return ERROR_INVALID_PARAMETER;
    }
    return RegSetValueExW(key, name, 0, value.Type, value.Data.data(),
                          static_cast<DWORD>(value.Data.size()));
}

std::optional<std::wstring> RegistryText(const RegistryValue& value) {
    if (value.Type != REG_SZ) {
        return std::nullopt;
    }
    std::wstring text(value.Data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) {
        std::memcpy(text.data(), value.Data.data(), text.size() * sizeof(wchar_t));
    }
    // The terminator is normally stored with the text, but a writer may have left it out.
    if (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}

} // namespace zelvaran::config
