#include "job_process.h"

#include "machine_state.h"
#include "program.h"

#include <tlhelp32.h>
#include <winternl.h>

namespace zelvaran::testing {
namespace {

struct TopLevelSearch {
    std::vector<DWORD> Processes;
    const std::function<bool(HWND)>* Match;
    HWND Found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<TopLevelSearch*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    for (const DWORD id : search->Processes) {
        if (id == process && IsWindowVisible(hwnd) && (*search->Match)(hwnd)) {
            search->Found = hwnd;
            return FALSE;
        }
    }
    return TRUE;
}

} // namespace

JobProcess::JobProcess(const std::wstring& commandLine, const std::wstring& directory) {
    job_.reset(CreateJobObjectW(nullptr, nullptr));
    if (!job_) {
        return;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));

    std::wstring command = commandLine;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    // Suspended until it is in the job, so not even its first child can escape.
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &si, &pi)) {
        return;
    }
    ui::UniqueKernelHandle thread(pi.hThread);
    process_.reset(pi.hProcess);
    id_ = pi.dwProcessId;
    if (!AssignProcessToJobObject(job_.get(), process_.get())) {
        TerminateProcess(process_.get(), 99);
        process_.reset();
        return;
    }
    ResumeThread(thread.get());
}

JobProcess::~JobProcess() {
    Kill();
}

void JobProcess::Kill() noexcept {
    if (job_) {
        TerminateJobObject(job_.get(), 99);
        if (process_) {
            WaitForSingleObject(process_.get(), 5000);
        }
    }
}

bool JobProcess::WaitForExit(DWORD ms, DWORD* exitCode) const {
    return WaitForProcessExit(process_.get(), ms, exitCode);
}

bool JobProcess::WaitForAll(DWORD ms) const {
    if (!process_) {
        return false;
    }
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        if (!QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &info,
                                       sizeof(info), nullptr)) {
            return false;
        }
        if (info.ActiveProcesses == 0) {
            return true;
        }
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(50);
    }
}

std::vector<DWORD> JobProcess::ProcessIds() const {
    // Room for far more processes than a setup or a program starts.
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST Header;
        ULONG_PTR More[63];
    } list{};
    list.Header.NumberOfAssignedProcesses = 64;
    std::vector<DWORD> ids;
    if (job_ && QueryInformationJobObject(job_.get(), JobObjectBasicProcessIdList, &list,
                                          sizeof(list), nullptr)) {
        const ULONG_PTR* first = list.Header.ProcessIdList;
        for (DWORD i = 0; i < list.Header.NumberOfProcessIdsInList && i < 64; ++i) {
            ids.push_back(static_cast<DWORD>(first[i]));
        }
    }
    return ids;
}

HWND WaitForTopLevel(const std::function<std::vector<DWORD>()>& processes,
                     const std::function<bool(HWND)>& match, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        TopLevelSearch search{processes(), &match, nullptr};
        EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.Found != nullptr) {
            return search.Found;
        }
        Sleep(20);
    } while (GetTickCount64() < end);
    return nullptr;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    const int n = GetClassNameW(hwnd, name, 256);
    return std::wstring(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::vector<DWORD> ChildProcesses(DWORD parent, const std::wstring& imageName) {
    std::vector<DWORD> found;
    HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (raw == INVALID_HANDLE_VALUE) {
        return found;
    }
    const ui::UniqueKernelHandle snapshot(raw);
    const std::wstring wanted = Lower(imageName);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == parent && Lower(entry.szExeFile) == wanted) {
            found.push_back(entry.th32ProcessID);
        }
    }
    return found;
}

std::wstring CommandLineOf(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic),
                                  &length) != 0 ||
        basic.PebBaseAddress == nullptr) {
        return {};
    }
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof(peb), nullptr) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof(parameters),
                           nullptr)) {
        return {};
    }
    std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!text.empty() && !ReadProcessMemory(process, parameters.CommandLine.Buffer, text.data(),
                                            parameters.CommandLine.Length, nullptr)) {
        return {};
    }
    return text;
}

} // namespace zelvaran::testing
