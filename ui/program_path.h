#pragma once

#include <string>

namespace zelvaran::ui {

// The full path of the running exe, however long; empty if the system cannot tell.
[[nodiscard]] std::wstring ProgramPath();

// The folder of the running exe, with its trailing backslash.
[[nodiscard]] std::wstring ProgramFolder();

} // namespace zelvaran::ui
