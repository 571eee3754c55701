// The Spanish prose the project wrote, taken out of the files that hold it, line by line, so that
// a check can spell it: what a reader sees, without markup, code samples, paths or option names.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvaran::texts {

struct TextLine {
    int Line;         // 1-based, in the file
    std::string Text; // UTF-8
};

enum class Kind {
    Html,  // a help page or sitemap in Windows-1252: text between tags, entities decoded;
           // <code>, <kbd>, <script> and <style> contents and comments left out
    Roff,  // a manual page: font and escape sequences dropped, requests' arguments kept
    Cpp,   // string literals that hold a blank (messages and sentences, not names or paths)
    Nsis,  // quoted strings with a blank, outside preprocessor lines, variables dropped
    Plain, // UTF-8 text, a byte-order mark allowed
};

// The file's bytes; nothing when it cannot be read.
[[nodiscard]] std::optional<std::string> ReadFile(const std::filesystem::path& path);

// Windows-1252 to UTF-8.
[[nodiscard]] std::string FromWindows1252(std::string_view text);

// The prose of a file's text, with the line each piece starts on.
[[nodiscard]] std::vector<TextLine> Extract(Kind kind, std::string_view text);

// The words of a piece of prose that a dictionary can judge: runs of letters, taken from
// blank-separated chunks that are not code (a chunk with a digit, a backslash, a slash, '_', '@',
// '=', '<', '>', '|', an inner '.', or a leading '-' is a path, a figure, an address or an option,
// and is skipped). Words of one letter, and names written in camel case (FraseCifra), are
// skipped.
[[nodiscard]] std::vector<std::string> Words(std::string_view prose);

} // namespace zelvaran::texts
