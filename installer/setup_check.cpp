// Run by the setup, elevated: may the program be installed in the folder given, and is it, once
// copied, as safe as the program will judge itself? The same judgement of descriptors as the
// program's own (config/permissions.h).
//
//   setup_check.exe <install folder>              before anything is copied; creates the
//                                                 folders missing on the way once all is well
//   setup_check.exe /verificar <folder> <file>... after the copy
//
// Exit code 0: yes, done. 10: no, a folder on the way can be changed by others than the
// machine's owners (its path on standard output): whoever can swap it can swap the program.
// 12: no, files there wait to be deleted or renamed at the next restart, which would take the
// new ones. 13: no, the path goes through a junction, symbolic link or mount point, or does not
// lead where it says (the folder on standard output): whoever changes where it points changes
// what every user's shortcut starts. 14: a folder could not be created protected (on standard
// output). 15: a copied file or its folder can be changed by others (on standard output).
// 16: no, the install folder exists and others can change it or the files created in it.
// 1: cannot tell.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/descriptor_read.h"
#include "config/run_location.h"
#include "config/startup.h"
#include "ui/handles.h"

namespace {

using namespace zelvaran::config;

constexpr const wchar_t* kAdministrators = L"S-1-5-32-544";
// What Program Files gives, and nothing inherited from above: the system and Administrators
// change, Users read and run; Administrators own it.
constexpr const wchar_t* kProtectedFolder =
    L"O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

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

// A pending path with its short (8.3) names made long, as far as its folders still exist.
std::wstring LongForm(const std::wstring& path) {
    std::wstring head = path;
    std::wstring tail;
    for (;;) {
        const DWORD n = GetLongPathNameW(head.c_str(), nullptr, 0);
        std::wstring longHead(n, L'\0');
        if (n > 0 && GetLongPathNameW(head.c_str(), longHead.data(), n) == n - 1) {
            longHead.resize(n - 1);
            return longHead + tail;
        }
        const std::vector<std::wstring> above = FoldersAbove(head);
        if (above.empty()) {
            return path;
        }
        tail = head.substr(above.front().size() - (above.front().back() == L'\\' ? 1 : 0)) + tail;
        head = above.front();
    }
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// In the ANSI code page, as the setup reads a program's output.
int Naming(const std::wstring& path, int code) {
    const int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0 &&
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi.data(), n, nullptr, nullptr) == n) {
        std::fputs(ansi.c_str(), stdout);
    }
    return code;
}

// The folders of the path from its root down, the folder itself last.
std::vector<std::wstring> TopDown(const std::wstring& folder) {
    std::vector<std::wstring> way = FoldersAbove(folder);
    way.insert(way.begin(), PlainPath(folder));
    return {way.rbegin(), way.rend()};
}

// `missing` = where the folders that do not exist yet begin on the way.
int Check(const std::vector<std::wstring>& way, std::size_t& missing) {
    if (way.size() < 2) {
        return 1; // a root, or no root at all
    }
    // Every folder that exists already, read itself: none of them may be a link, and the nearest
    // must really be where the path says (a short name or another spelling is not recorded).
    std::size_t existing = 0;
    while (existing < way.size() && IsFolder(way[existing])) {
        DWORD error = ERROR_SUCCESS;
        const auto entry = ReadPathEntry(way[existing], error);
        if (!entry) {
            return 1;
        }
        if (entry->ReparsePoint) {
            return Naming(way[existing], 13);
        }
        ++existing;
    }
    if (existing == 0) {
        return 1;
    }
    const std::wstring& nearest = way[existing - 1];
    DWORD error = ERROR_SUCCESS;
    const std::wstring final = FinalPath(nearest, error);
    if (final.empty()) {
        return 1;
    }
    if (!SamePath(final, nearest)) {
        return Naming(nearest, 13);
    }

    std::vector<std::wstring> pending;
    ReadPending(L"PendingFileRenameOperations", pending);
    ReadPending(L"PendingFileRenameOperations2", pending);
    for (std::wstring& path : pending) {
        path = LongForm(PendingPath(path));
    }
    if (AnyPendingInside(pending, way.back())) {
        return 12;
    }

    // From the root down, the first folder that others can change (or that cannot be read).
    const bool exists = existing == way.size();
    for (std::size_t i = 0; i + (exists ? 1 : 0) < existing; ++i) {
        if (!AdminOnlyAllTheWay(way[i], PathKind::Folder)) {
            return Naming(way[i], 10);
        }
    }
    if (exists && (!AdminOnlyAllTheWay(way.back(), PathKind::ProgramFolder) ||
                   !NewFilesAdminOnly(way.back()))) {
        return 16;
    }
    missing = existing;
    return 0;
}

// Each folder missing on the way is created with its protection in the same call, so that it
// never holds, even for a moment, what it would inherit from above. One that appeared since the
// check fails the creation: someone else made it.
int CreateTheWay(const std::vector<std::wstring>& way, std::size_t missing) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedFolder, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        return 1;
    }
    const zelvaran::ui::UniqueLocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    int result = 0;
    for (std::size_t i = missing; i < way.size() && result == 0; ++i) {
        if (!CreateDirectoryW(way[i].c_str(), &attributes)) {
            result = Naming(way[i], 14);
        }
    }
    return result;
}

// After the copy: Administrators own the folder and the files, whatever owner the system's policy
// gave them, and nobody else can change them, judged exactly as the program judges itself.
int Verify(const std::wstring& folder, std::vector<std::wstring> files) {
    PSID administrators = nullptr;
    if (!ConvertStringSidToSidW(kAdministrators, &administrators)) {
        return 1;
    }
    const zelvaran::ui::UniqueLocalMemory ownedSid(administrators);
    files.insert(files.begin(), folder);
    DWORD error = ERROR_SUCCESS;
    for (std::size_t i = 0; i < files.size() && error == ERROR_SUCCESS; ++i) {
        error = SetNamedSecurityInfoW(files[i].data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                                      administrators, nullptr, nullptr, nullptr);
        if (error != ERROR_SUCCESS) {
            return Naming(files[i], 15);
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::wstring final = FinalPath(files[i], error);
        if (final.empty() || !SamePath(final, files[i]) ||
            !AdminOnlyAllTheWay(final, i == 0 ? PathKind::ProgramFolder : PathKind::File)) {
            return Naming(files[i], 15);
        }
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const std::wstring first = argc > 1 ? argv[1] : L"";
        if (first == L"/verificar" && argc >= 4) {
            return Verify(argv[2], std::vector<std::wstring>(argv + 3, argv + argc));
        }
        if (argc != 2) {
            return 1;
        }
        const std::vector<std::wstring> way = TopDown(first);
        std::size_t missing = way.size();
        const int verdict = Check(way, missing);
        return verdict == 0 ? CreateTheWay(way, missing) : verdict;
    } catch (...) {
        return 1; // out of memory: nothing vouched for
    }
}
