// The per-user settings store, addressed by application, section and key texts, and every key
// the program keeps in it. The values live where the classic per-user settings API keeps them,
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, as REG_SZ,
// so choices stored by earlier releases of the program are found again.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zelvaran::config {

inline constexpr std::wstring_view kSettingsRoot = L"Software\\VB and VBA Program Settings";
inline constexpr std::wstring_view kAppName = L"Zelvaran";
inline constexpr std::wstring_view kSection = L"Settings";
inline constexpr std::wstring_view kKeyInicio = L"Inicio";
inline constexpr std::wstring_view kKeyChTop = L"ChTop";
// The main window's rules for Generate, "0" or "1".
inline constexpr std::wstring_view kKeyAlMenosUno = L"AlMenosUno";
inline constexpr std::wstring_view kKeySinParecidos = L"SinParecidos";
// The passphrase window's four choices.
inline constexpr std::wstring_view kKeyWords = L"FrasePalabras";
inline constexpr std::wstring_view kKeySeparator = L"FraseSeparador";
inline constexpr std::wstring_view kKeyCapitals = L"FraseMayusculas";
inline constexpr std::wstring_view kKeyDigit = L"FraseCifra";
// "1" once the balloon that shows where the minimised window went has been shown.
inline constexpr std::wstring_view kKeyAvisoBandeja = L"AvisoBandeja";
// Seconds from a copy to the emptying of the clipboard: "0" (never), "10", "30", "60" or "300".
inline constexpr std::wstring_view kKeyVaciarPortapapeles = L"VaciarPortapapeles";

// The registry key under HKEY_CURRENT_USER that holds a section's keys.
[[nodiscard]] std::wstring SettingsKeyPath(std::wstring_view application,
                                           std::wstring_view section);

// The stored text, or defaultText when there is none: the key, its section or its application
// is absent, or the value is not text (REG_SZ), or cannot be read. Reading creates nothing.
[[nodiscard]] std::wstring GetSetting(std::wstring_view application, std::wstring_view section,
                                      std::wstring_view key, std::wstring_view defaultText);

// Stores text as REG_SZ, creating the application and section as needed.
[[nodiscard]] LSTATUS SaveSetting(std::wstring_view application, std::wstring_view section,
                                  std::wstring_view key, std::wstring_view text) noexcept;

} // namespace zelvaran::config
