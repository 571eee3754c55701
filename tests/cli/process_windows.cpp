#include "process.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <thread>

namespace zelvaran::cli::testing {
namespace {

// <build>\tests\cli\<test exe> -> <build>\zelvaran-cli.exe
std::wstring CliPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    for (int up = 0; up < 3; ++up) {
        path.erase(path.find_last_of(L"\\/"));
    }
    return path + L"\\zelvaran-cli.exe";
}

std::wstring Widen(const std::string& utf8) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

// The quoting CommandLineToArgvW undoes: backslashes doubled only before a quote.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
    line += L" \"";
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        line.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
        slashes = 0;
        line += c;
    }
    line.append(2 * slashes, L'\\');
    line += L'"';
}

void Drain(HANDLE pipe, const std::function<void(const char*, std::size_t)>& sink) {
    char block[65536];
    DWORD got = 0;
    while (ReadFile(pipe, block, sizeof block, &got, nullptr) && got > 0) {
        sink(block, got);
    }
    CloseHandle(pipe);
}

} // namespace

ProcessResult RunCli(const std::vector<std::string>& args,
                     const std::function<void(const char*, std::size_t)>& onOutput) {
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) ||
        !CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        ADD_FAILURE() << "CreatePipe failed";
        return result;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    const std::wstring path = CliPath();
    std::wstring line = L"\"" + path + L"\"";
    for (const std::string& arg : args) {
        AppendQuoted(line, Widen(arg));
    }
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (!started) {
        CloseHandle(outRead);
        CloseHandle(errRead);
        ADD_FAILURE() << "cannot start zelvaran-cli.exe";
        return result;
    }
    std::thread errors(
        [&] { Drain(errRead, [&](const char* d, std::size_t n) { result.Err.append(d, n); }); });
    // Sampled while the child runs: once it has exited Wine reports no memory figures.
    const auto sampleMemory = [&] {
        PROCESS_MEMORY_COUNTERS memory{};
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
            result.PeakMemoryBytes = std::max(result.PeakMemoryBytes, memory.PeakWorkingSetSize);
        }
    };
    Drain(outRead, [&](const char* d, std::size_t n) {
        sampleMemory();
        if (onOutput) {
            onOutput(d, n);
        } else {
            result.Out.append(d, n);
        }
    });
    errors.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.ExitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

} // namespace zelvaran::cli::testing
