// Stands in for icacls.exe in the test prefix, where Wine's own changes nothing: appends its
// command line (UTF-8, one line) to the file named by ZELVARAN_ICACLS_LOG and ends with the exit
// code in ZELVARAN_ICACLS_EXIT (0 when unset).
#include <windows.h>

#include <cwchar>
#include <string>

int main() {
    wchar_t log[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ZELVARAN_ICACLS_LOG", log, MAX_PATH) == 0) {
        return 1;
    }
    const std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), text.data(), bytes,
                        nullptr, nullptr);
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    wchar_t code[16] = {};
    if (GetEnvironmentVariableW(L"ZELVARAN_ICACLS_EXIT", code, 16) != 0) {
        return static_cast<int>(std::wcstol(code, nullptr, 10));
    }
    return ok ? 0 : 1;
}
