// What zelvaran-cli says when the rules beyond the classes refuse: one of each kind (-t) longer
// than the length allows, or a class left empty by -a or -x.
#pragma once

#include <string>

#include "cli/options.h"
#include "generator/generator.h"

namespace zelvaran::cli {

// The message after "zelvaran-cli: " for TooShortForEachKind, EachKindTooRare and KindEmptied.
[[nodiscard]] std::u16string RuleRefusal(const CliOptions& options, GenerationErrorKind kind);

} // namespace zelvaran::cli
