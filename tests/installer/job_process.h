// Processes started from the tests at a path of our choosing, each in a job object of its own: a
// setup or uninstaller hands its work to a copy of itself, and the program hands the help file to
// the shell's viewer, so "it has finished" means every process of the job has ended. Closing the
// job ends whatever a failed test left running.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/handles.h"

namespace zelvaran::testing {

class JobProcess {
public:
    // Starts `commandLine` (the program named first in it, quoted if it has blanks) with
    // `directory` as its current directory.
    JobProcess(const std::wstring& commandLine, const std::wstring& directory);
    JobProcess(const JobProcess&) = delete;
    JobProcess& operator=(const JobProcess&) = delete;
    ~JobProcess();

    [[nodiscard]] bool Started() const noexcept { return static_cast<bool>(process_); }
    [[nodiscard]] DWORD Id() const noexcept { return id_; }
    // Whether the first process ended within `ms`, and its exit code.
    [[nodiscard]] bool WaitForExit(DWORD ms, DWORD* exitCode = nullptr) const;
    // Whether every process of the job, the first one's children included, ended within `ms`.
    [[nodiscard]] bool WaitForAll(DWORD ms) const;
    [[nodiscard]] std::vector<DWORD> ProcessIds() const;
    // Ends every process of the job that is still running.
    void Kill() noexcept;

private:
    ui::UniqueKernelHandle job_;
    ui::UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// A visible top-level window of one of these processes that `match` accepts, waited for up to
// `ms`; nullptr when none came.
[[nodiscard]] HWND WaitForTopLevel(const std::function<std::vector<DWORD>()>& processes,
                                   const std::function<bool(HWND)>& match, DWORD ms);
[[nodiscard]] std::wstring ClassOf(HWND hwnd);

// The running processes with this image name (case-insensitive) whose parent is `parent`.
[[nodiscard]] std::vector<DWORD> ChildProcesses(DWORD parent, const std::wstring& imageName);
// The command line another process was started with, read from its process parameters.
[[nodiscard]] std::wstring CommandLineOf(HANDLE process);

} // namespace zelvaran::testing
