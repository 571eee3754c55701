// The running program's version, the numbers its version record carries.
#pragma once

#include "ui/titles.h"
#include "version.h"

namespace zelvaran {

inline constexpr ui::Version kProgramVersion{ZELVARAN_VERSION_MAJOR, ZELVARAN_VERSION_MINOR,
                                             ZELVARAN_VERSION_REVISION};

} // namespace zelvaran
