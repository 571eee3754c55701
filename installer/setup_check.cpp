// Run by the setup, elevated, before it writes anything: may the program be installed in the
// folder given? The same judgement of descriptors as the program's own (config/permissions.h).
//
//   setup_check.exe <install folder>
//
// Exit code 0: yes. 11: yes, once the folder itself, which exists and which others can change,
// is protected. 10: no, a folder above it can be changed by others than the machine's owners (its
// path on standard output): whoever can swap it can swap the program. 12: no, files there wait to
// be deleted or renamed at the next restart, which would take the new ones. 1: cannot tell.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/run_location.h"
#include "config/startup.h"

namespace {

using namespace zelvaran::config;

// One REG_MULTI_SZ list of the session manager's renames and deletes at restart.
void ReadPending(const wchar_t* name, std::vector<std::wstring>& paths) {
    const wchar_t* key = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    DWORD size = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return; // none
    }
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_MULTI_SZ, nullptr, data.data(),
                     &size) != ERROR_SUCCESS) {
        return;
    }
    // Entries end with a terminator each; an empty one is a delete's missing target.
    for (std::size_t at = 0; at < size / sizeof(wchar_t);) {
        const std::size_t end = data.find(L'\0', at);
        paths.push_back(data.substr(at, end - at));
        at = end + 1;
    }
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int Check(const std::wstring& folder) {
    // The nearest folder of the way that exists already, in its final form.
    std::wstring nearest = PlainPath(folder);
    while (!IsFolder(nearest)) {
        const std::vector<std::wstring> above = FoldersAbove(nearest);
        if (above.empty()) {
            return 1;
        }
        nearest = above.front();
    }
    const bool exists = SamePath(nearest, folder);
    DWORD error = ERROR_SUCCESS;
    const std::wstring final = FinalPath(nearest, error);
    if (final.empty()) {
        return 1;
    }

    std::vector<std::wstring> pending;
    ReadPending(L"PendingFileRenameOperations", pending);
    ReadPending(L"PendingFileRenameOperations2", pending);
    if (AnyPendingInside(pending, folder) || (exists && AnyPendingInside(pending, final))) {
        return 12;
    }

    // From the root down, the first folder that others can change (or that cannot be read).
    std::vector<std::wstring> way = FoldersAbove(final);
    if (!exists) {
        way.insert(way.begin(), final);
    }
    for (auto it = way.rbegin(); it != way.rend(); ++it) {
        if (!AdminOnlyAllTheWay(*it, PathKind::Folder)) {
            // In the ANSI code page, as the setup reads a program's output.
            const int n =
                WideCharToMultiByte(CP_ACP, 0, it->c_str(), -1, nullptr, 0, nullptr, nullptr);
            std::string ansi(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
            if (n > 0 && WideCharToMultiByte(CP_ACP, 0, it->c_str(), -1, ansi.data(), n, nullptr,
                                             nullptr) == n) {
                std::fputs(ansi.c_str(), stdout);
            }
            return 10;
        }
    }
    return exists && !AdminOnlyAllTheWay(final, PathKind::Folder) ? 11 : 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return argc == 2 ? Check(argv[1]) : 1;
    } catch (...) {
        return 1; // out of memory: nothing vouched for
    }
}
