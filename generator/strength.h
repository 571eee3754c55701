// The strength of a result said in words: a band named from its bits, and the average time an
// attacker who tries a trillion guesses a second would need to find it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvaran {

enum class Strength { VeryWeak, Weak, Good, Strong, VeryStrong };

// The bits in tenths, rounded as the figure "Entropía: 72,0 bits" shows them, so that a band never
// disagrees with the figure beside it (39,96 bits shows "40,0" and is "débil").
[[nodiscard]] std::int64_t EntropyTenths(double bits);

// Below 40 bits "muy débil", below 60 "débil", below 80 "buena", below 100 "fuerte", then
// "muy fuerte"; judged on the figure shown.
[[nodiscard]] Strength StrengthOf(double bits);
[[nodiscard]] std::u16string_view StrengthWord(Strength strength) noexcept;

// The guesses an attacker makes each second in the estimate below.
inline constexpr double kGuessesPerSecond = 1e12;

// Half of the 2^bits results, tried at kGuessesPerSecond: "menos de un segundo", "unos 45
// segundos", "unas 5 horas", "unos 75 años", "unos 2 millones de años", "más que la edad del
// universo" beyond 10^18 seconds. Two significant figures in the largest unit the time fills
// at least once, decimal comma, digits grouped from five up.
[[nodiscard]] std::u16string AverageCrackTimeText(double bits);

// Two significant figures of a value from 1 up, as Spanish writes it: "4,5", "75", "1200",
// "32 000" (a no-break space between groups), with no ",0".
[[nodiscard]] std::u16string TwoFigures(double value);

} // namespace zelvaran
