// The three states of a check box, as the controls report them and the settings store keeps
// them; the core, the main window and the configuration dialog all read them from here.
#pragma once

#include <cstdint>

namespace zelvaran {

inline constexpr std::int16_t kUnchecked = 0;
inline constexpr std::int16_t kChecked = 1;
inline constexpr std::int16_t kGrayed = 2; // never set by the program, but a box may hold it

} // namespace zelvaran
