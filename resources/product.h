// What the program is: its version numbers and the texts that name it, for every window and
// front end alike.
#pragma once

#include <cstdint>

#include "version.h"

namespace zelvaran {

struct Version {
    std::int16_t Major;
    std::int16_t Minor;
    std::int16_t Revision;
};

// The running program's version, the numbers its version record carries.
inline constexpr Version kProgramVersion{ZELVARAN_VERSION_MAJOR, ZELVARAN_VERSION_MINOR,
                                         ZELVARAN_VERSION_REVISION};

inline constexpr const wchar_t* kProductName = L"Security Zelvaran";
// The title of every error message the program shows.
inline constexpr const wchar_t* kErrorTitle = L"Zelvaran Error";

} // namespace zelvaran
