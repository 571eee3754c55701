#include "machine_state.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cwctype>
#include <fstream>
#include <iterator>

#include "ui/handles.h"
#include "ui/process_hardening.h"

namespace zelvaran::testing {
namespace {

constexpr REGSAM kView = KEY_WOW64_64KEY;

// Owns one reference to a COM interface.
template <class Interface> class ComRef {
public:
    ComRef() noexcept = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_ != nullptr) {
            p_->Release();
        }
    }
    [[nodiscard]] Interface* operator->() const noexcept { return p_; }
    [[nodiscard]] void** Out() noexcept { return reinterpret_cast<void**>(&p_); }
    explicit operator bool() const noexcept { return p_ != nullptr; }

private:
    Interface* p_ = nullptr;
};

using FindTraits = ui::ClosedBy<HANDLE, &FindClose>;

// Calls `visit` with every plain file directly in `folder`.
template <class Visit> void ForEachFile(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW found{};
    HANDLE raw = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (raw == INVALID_HANDLE_VALUE) {
        return;
    }
    const ui::UniqueHandle<FindTraits> search(raw);
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            visit(found);
        }
    } while (FindNextFileW(search.get(), &found));
}

} // namespace

std::wstring RegistryValue::Text() const {
    std::wstring text(Data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) {
        memcpy(text.data(), Data.data(), text.size() * sizeof(wchar_t));
    }
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}

DWORD RegistryValue::Dword() const {
    DWORD value = 0;
    if (Data.size() == sizeof(value)) {
        memcpy(&value, Data.data(), sizeof(value));
    }
    return value;
}

bool KeyExists(HKEY root, const std::wstring& subKey) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | kView, &raw) != ERROR_SUCCESS) {
        return false;
    }
    const ui::UniqueRegKey key(raw);
    return true;
}

std::optional<RegistryValue> ReadValue(HKEY root, const std::wstring& subKey,
                                       const std::wstring& name) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE | kView, &raw) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const ui::UniqueRegKey key(raw);
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.Type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.Data.resize(size);
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.Type, value.Data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.Data.resize(size);
    return value;
}

LSTATUS WriteText(HKEY root, const std::wstring& subKey, const std::wstring& name,
                  const std::wstring& text) {
    HKEY raw = nullptr;
    LSTATUS status = RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | kView,
                                     nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const ui::UniqueRegKey key(raw);
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LSTATUS DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& name) {
    HKEY raw = nullptr;
    LSTATUS status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_SET_VALUE | kView, &raw);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const ui::UniqueRegKey key(raw);
    return RegDeleteValueW(key.get(), name.c_str());
}

LSTATUS DeleteTree(HKEY root, const std::wstring& subKey) {
    HKEY raw = nullptr;
    LSTATUS status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ALL_ACCESS | kView, &raw);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    {
        const ui::UniqueRegKey key(raw);
        status = RegDeleteTreeW(key.get(), nullptr);
    }
    return status == ERROR_SUCCESS ? RegDeleteKeyExW(root, subKey.c_str(), kView, 0) : status;
}

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, 0, nullptr, &raw);
    const ui::UniqueCoTaskText text(raw);
    return SUCCEEDED(hr) && raw != nullptr ? std::wstring(raw) : std::wstring();
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring path(buffer, n);
    while (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

std::wstring OwnFolder() {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return ParentOf(path);
}

std::wstring ParentOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::vector<char>> FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileText(const std::wstring& path, const std::string& text) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

void RemoveFolder(const std::wstring& path) {
    ForEachFile(path, [&](const WIN32_FIND_DATAW& file) {
        DeleteFileW((path + L"\\" + file.cFileName).c_str());
    });
    RemoveDirectoryW(path.c_str());
}

ULONGLONG FolderBytes(const std::wstring& path) {
    ULONGLONG total = 0;
    ForEachFile(path, [&](const WIN32_FIND_DATAW& file) {
        total += (static_cast<ULONGLONG>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    });
    return total;
}

std::wstring ShortcutTarget(const std::wstring& lnk) {
    const ui::ComApartment apartment;
    ComRef<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.Out()))) {
        return {};
    }
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out())) ||
        FAILED(file->Load(lnk.c_str(), STGM_READ))) {
        return {};
    }
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        return {};
    }
    return target;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace zelvaran::testing
