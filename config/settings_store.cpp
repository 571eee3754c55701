#include "config/settings_store.h"

#include "config/registry_value.h"

namespace zelvaran::config {

std::wstring SettingsKeyPath(std::wstring_view application, std::wstring_view section) {
    std::wstring path(kSettingsRoot);
    path += L'\\';
    path += application;
    path += L'\\';
    path += section;
    return path;
}

std::wstring GetSetting(std::wstring_view application, std::wstring_view section,
                        std::wstring_view key, std::wstring_view defaultText) {
    const std::wstring path = SettingsKeyPath(application, section);
    const std::wstring name(key);
    ui::UniqueRegKey opened;
    if (OpenRegistryKey(HKEY_CURRENT_USER, path.c_str(), KEY_QUERY_VALUE, opened) !=
        ERROR_SUCCESS) {
        return std::wstring(defaultText);
    }
    RegistryValue value;
    if (ReadRegistryValue(opened.get(), name.c_str(), value) != ERROR_SUCCESS) {
        return std::wstring(defaultText);
    }
    std::optional<std::wstring> text = RegistryText(value);
    return text ? std::move(*text) : std::wstring(defaultText);
}

LSTATUS SaveSetting(std::wstring_view application, std::wstring_view section, std::wstring_view key,
                    std::wstring_view text) noexcept {
    try {
        const std::wstring path = SettingsKeyPath(application, section);
        const std::wstring name(key);
        ui::UniqueRegKey opened;
        const LSTATUS status =
            CreateRegistryKey(HKEY_CURRENT_USER, path.c_str(), KEY_SET_VALUE, opened);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        return WriteRegistryText(opened.get(), name.c_str(), text);
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

} // namespace zelvaran::config
