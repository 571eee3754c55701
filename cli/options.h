// The command line of zelvaran-cli: options in any order, short ones bundled (-el 12) or with
// their value attached (-l12), long ones as --opcion valor or --opcion=valor; the last of a
// repeated option wins, and -- ends the options.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zelvaran::cli {

inline constexpr std::string_view kProgramName = "zelvaran-cli";
inline constexpr int kMaxLength = 9999;
inline constexpr int kMaxCount = 100000;
inline constexpr int kMaxWords = 64;

enum class Action { Generate, Help, Version };

struct CliOptions {
    Action Do = Action::Generate;
    int Length = 20;
    int Count = 1;
    // Letters of c, g, n, e in either case, as given (checked by the parser).
    std::u16string Classes = u"cgn";
    std::u16string Symbols; // the window's twelve unless -s is given
    std::optional<std::u16string> Format;
    int Words = 0; // a passphrase of this many words when not 0
    std::u16string Separator = u"-";
    bool Capitalize = false;                // -M: the first letter of every word a capital
    bool AddDigit = false;                  // -d: one digit after one word
    std::optional<std::u16string> WordList; // -w: the user's own list; "-" standard input
    bool Entropy = false;
    bool OneOfEachKind = false; // -t: every chosen class at least once
    bool NoLookAlikes = false;  // -a: no 0 O o 1 l I | ¦
    std::u16string Excluded;    // -x: characters no class may give
};

// One Spanish line for standard error, naming the option and pointing to --ayuda.
struct UsageError {
    std::string Message;
};

[[nodiscard]] std::variant<CliOptions, UsageError>
ParseArguments(const std::vector<std::u16string>& args);

// UTF-8 arguments (Linux) decoded for ParseArguments; a text that is not UTF-8 is a usage error.
[[nodiscard]] std::variant<std::vector<std::u16string>, UsageError>
DecodeArguments(int argc, const char* const* argv);

// The help on standard output and the version line.
[[nodiscard]] std::string HelpText();
[[nodiscard]] std::string VersionText();

} // namespace zelvaran::cli
