// Window titles and the version line, built from the program's version numbers.
#pragma once

#include <string>

#include "resources/product.h"

namespace zelvaran::ui {

// "Morvantic SecurityZelvaran v1.0.42": plain decimal numbers, no padding.
[[nodiscard]] std::wstring MainTitle(const Version& version);
// "Versión: 1.0.42"
[[nodiscard]] std::wstring VersionLine(const Version& version);

} // namespace zelvaran::ui
