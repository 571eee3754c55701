// Runs the built zelvaran-cli as a process of its own, as a shell would: arguments in, exit code
// and both output streams back.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zelvaran::cli::testing {

struct ProcessResult {
    int ExitCode = -1;
    std::string Out; // empty when an OnOutput callback took it
    std::string Err;
    std::size_t PeakMemoryBytes = 0; // the child's peak resident / working set
};

// Arguments are UTF-8. With onOutput, standard output is handed over in chunks instead of
// being kept, so very large outputs can be checked as they stream.
[[nodiscard]] ProcessResult
RunCli(const std::vector<std::string>& args,
       const std::function<void(const char*, std::size_t)>& onOutput = {});

} // namespace zelvaran::cli::testing
