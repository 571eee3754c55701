#include "process.h"

#include <gtest/gtest.h>

#include <climits>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zelvaran::cli::testing {
namespace {

// <build>/tests/cli/<test exe> -> <build>/zelvaran-cli
std::string CliPath() {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    for (int up = 0; up < 3; ++up) {
        path.erase(path.find_last_of('/'));
    }
    return path + "/zelvaran-cli";
}

void Drain(int fd, const std::function<void(const char*, std::size_t)>& sink) {
    char block[65536];
    ssize_t got = 0;
    while ((got = read(fd, block, sizeof block)) != 0) {
        if (got > 0) {
            sink(block, static_cast<std::size_t>(got));
        } else if (errno != EINTR) {
            break;
        }
    }
    close(fd);
}

} // namespace

ProcessResult RunCli(const std::vector<std::string>& args,
                     const std::function<void(const char*, std::size_t)>& onOutput) {
    ProcessResult result;
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe failed";
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    const std::string path = CliPath();
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (spawned != 0) {
        close(out[0]);
        close(err[0]);
        ADD_FAILURE() << "cannot start " << path;
        return result;
    }
    std::thread errors(
        [&] { Drain(err[0], [&](const char* d, std::size_t n) { result.Err.append(d, n); }); });
    Drain(
        out[0],
        onOutput ? onOutput : [&](const char* d, std::size_t n) { result.Out.append(d, n); });
    errors.join();
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.PeakMemoryBytes = static_cast<std::size_t>(usage.ru_maxrss) * 1024;
    return result;
}

} // namespace zelvaran::cli::testing
