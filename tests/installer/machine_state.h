// What the tests read and arrange on the machine around an installation: registry values in the
// 64-bit view (the one a 64-bit installer and program write), known folders, files and shortcuts.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

namespace zelvaran::testing {

struct RegistryValue {
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
    // The data as text, without its terminator (REG_SZ and REG_EXPAND_SZ).
    [[nodiscard]] std::wstring Text() const;
    [[nodiscard]] DWORD Dword() const;
};

[[nodiscard]] bool KeyExists(HKEY root, const std::wstring& subKey);
[[nodiscard]] std::optional<RegistryValue> ReadValue(HKEY root, const std::wstring& subKey,
                                                     const std::wstring& name);
[[nodiscard]] LSTATUS WriteText(HKEY root, const std::wstring& subKey, const std::wstring& name,
                                const std::wstring& text);
[[nodiscard]] LSTATUS DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& name);
[[nodiscard]] LSTATUS DeleteTree(HKEY root, const std::wstring& subKey);

// A known folder (FOLDERID_...) without a trailing backslash; empty when the shell has none.
[[nodiscard]] std::wstring KnownFolder(const KNOWNFOLDERID& id);
[[nodiscard]] std::wstring TempFolder();
// The folder of this test exe.
[[nodiscard]] std::wstring OwnFolder();
[[nodiscard]] std::wstring ParentOf(const std::wstring& path);

[[nodiscard]] bool FileExists(const std::wstring& path);
[[nodiscard]] bool FolderExists(const std::wstring& path);
[[nodiscard]] std::optional<std::vector<char>> FileBytes(const std::wstring& path);
[[nodiscard]] bool WriteFileText(const std::wstring& path, const std::string& text);
// Removes a folder the tests made, with the files directly in it.
void RemoveFolder(const std::wstring& path);
// Total size of the files directly in a folder, in bytes.
[[nodiscard]] ULONGLONG FolderBytes(const std::wstring& path);

// The program a shortcut (.lnk) starts; empty when it cannot be read.
[[nodiscard]] std::wstring ShortcutTarget(const std::wstring& lnk);

[[nodiscard]] std::wstring Lower(std::wstring text);
[[nodiscard]] bool SamePath(const std::wstring& a, const std::wstring& b);

} // namespace zelvaran::testing
