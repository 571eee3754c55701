// What zelvaran-cli does once its arguments are read: every result drawn afresh from the random
// source, written and wiped one at a time, so any count streams in constant memory.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "generator/random_source.h"
#include "cli/sink.h"
#include "generator/generator.h"

namespace zelvaran::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1; // the generator refuses the settings, or cannot draw
inline constexpr int kExitUsage = 2;

// The built-in word list, asked for only when a phrase is to be made: a run of passwords never
// builds its table.
using WordListSource = std::span<const std::string_view> (*)() noexcept;

// Parses and runs; the exit code. Usage errors and refusals leave standard output empty.
[[nodiscard]] int Main(const std::vector<std::u16string>& args, Sink& out, Sink& err,
                       RandomSource& random, WordListSource words);

// The message for a refusal of the generator, naming the option to change.
[[nodiscard]] std::u16string RefusalMessage(const CliOptions& options, GenerationErrorKind kind);

} // namespace zelvaran::cli
