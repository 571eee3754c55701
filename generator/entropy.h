// How many bits of entropy one result carries, worked out from the settings that make it and
// never guessed from a result: any front end can show it before or after generating.
#pragma once

#include <cstddef>
#include <string>

#include "generator/generator.h"
#include "generator/passphrase.h"

namespace zelvaran {

// Shannon entropy of one draw from a class: a character that occurs k times in a class of L
// weighs k / L, so repeats lower the figure.
[[nodiscard]] double DrawEntropyBits(std::u32string_view cls);

// The share of free-mode passwords of `length` characters that hold every non-empty class:
// how many whole passwords one with every kind costs on average is its inverse.
[[nodiscard]] double ShareWithEveryKind(const CharacterClasses& classes, int length);

// Whether drawing whole passwords of `length` characters until one holds every non-empty class
// would take more than about a hundred million draws.
[[nodiscard]] bool EachKindTooRare(const CharacterClasses& classes, int length);

// A free-mode password of `length` characters drawn again until it holds every non-empty class.
// Exact when no character belongs to two classes (a symbol set with letters or digits in it
// makes it an upper bound).
[[nodiscard]] double EveryKindEntropyBits(const CharacterClasses& classes, int length);

// One result of these options: count x the draw from Pool in free mode, EveryKindEntropyBits
// with one of each kind; in a template the sum
// over its positions, a copied character adding nothing. Settings that Generate refuses give
// the same error here.
[[nodiscard]] Expected<double> EntropyBits(const GenerationOptions& options);

// words drawn independently from a list of listSize words.
[[nodiscard]] double PassphraseEntropyBits(int words, std::size_t listSize) noexcept;

// A phrase of these options: its words, plus log2(10 x words) for the digit and its place;
// capitals add nothing. 0 for options that make no phrase.
[[nodiscard]] double PassphraseEntropyBits(const PassphraseOptions& options,
                                           std::size_t listSize) noexcept;

// u"Entropía: 119,1 bits (muy fuerte)": one decimal, decimal comma, and the strength in words.
[[nodiscard]] std::u16string FormatEntropy(double bits);

} // namespace zelvaran
