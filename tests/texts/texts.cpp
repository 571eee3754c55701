#include "texts.h"

#include <iconv.h>
#include <libxml/HTMLparser.h>
#include <strings.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <ranges>
#include <sstream>
#include <stdexcept>

namespace zelvaran::texts {
namespace {

constexpr const char* kUtf32 = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

// Text from one encoding to another by glibc's iconv. A byte the source encoding cannot read
// stands for the character of its own number, so a stray byte reaches the spelling check as a
// letter instead of ending it. (UTF-32 text here is always whole characters: the compiler checks
// the sources' escapes.)
std::string Convert(const char* from, const char* to, std::string_view text) {
    const std::unique_ptr<void, int (*)(iconv_t)> converter(iconv_open(to, from), iconv_close);
    if (converter.get() == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    std::string out(text.size() * 4, '\0'); // room for the widest: a byte read as four
    char* in = const_cast<char*>(text.data());
    char* next = out.data();
    std::size_t left = text.size();
    std::size_t room = out.size();
    while (iconv(converter.get(), &in, &left, &next, &room) == static_cast<std::size_t>(-1)) {
        const std::string own = Convert("ISO-8859-1", to, std::string_view(in, 1));
        next = std::ranges::copy(own, next).out;
        room -= own.size();
        ++in;
        --left;
    }
    out.resize(out.size() - room);
    return out;
}

std::string ToUtf8(std::u32string_view text) {
    return Convert(kUtf32, "UTF-8", {reinterpret_cast<const char*>(text.data()), text.size() * 4});
}

std::string ToUtf8(char32_t c) {
    return ToUtf8(std::u32string_view(&c, 1));
}

std::u32string ToUtf32(std::string_view text) {
    const std::string bytes = Convert("UTF-8", kUtf32, text);
    std::u32string out(bytes.size() / 4, U'\0');
    std::memcpy(out.data(), bytes.data(), bytes.size());
    return out;
}

// Collects prose into the line it starts on.
class Lines {
public:
    void Add(int line, std::string_view text) {
        if (!lines_.empty() && lines_.back().Line == line) {
            lines_.back().Text += text;
        } else {
            lines_.push_back({line, std::string(text)});
        }
    }
    std::vector<TextLine> Take() {
        std::erase_if(lines_, [](const TextLine& l) {
            return l.Text.find_first_not_of(" \t") == std::string::npos;
        });
        return std::move(lines_);
    }

private:
    std::vector<TextLine> lines_;
};

int CountLines(std::string_view text) {
    return static_cast<int>(std::ranges::count(text, '\n'));
}

using XmlText = std::unique_ptr<xmlChar, decltype(xmlFree)>;

const char* Text(const xmlChar* text) {
    return reinterpret_cast<const char*>(text);
}

// The prose below `node`: each text on the lines it spans, a break at every tag so that nothing
// glues across one, and a sitemap entry's name, which is the value of <param name="Name">.
void CollectProse(const xmlNode* node, Lines& lines) {
    for (; node != nullptr; node = node->next) {
        // libxml2 numbers a text by the line it ends on.
        const std::string_view text = node->content != nullptr ? Text(node->content) : "";
        int line = static_cast<int>(xmlGetLineNo(node)) - CountLines(text);
        if (node->type == XML_TEXT_NODE) {
            for (const auto piece : std::views::split(text, '\n')) {
                lines.Add(line++, std::string_view(piece.begin(), piece.end()));
            }
        } else if (node->type == XML_ELEMENT_NODE) {
            const std::string_view name = Text(node->name);
            lines.Add(line, " ");
            const XmlText key(xmlGetProp(node, BAD_CAST "name"), xmlFree);
            if (name == "param" && key && strcasecmp(Text(key.get()), "name") == 0) {
                const XmlText value(xmlGetProp(node, BAD_CAST "value"), xmlFree);
                lines.Add(line, value ? Text(value.get()) : "");
            }
            if (name != "code" && name != "kbd" && name != "script" && name != "style") {
                CollectProse(node->children, lines);
            }
        }
    }
}

std::vector<TextLine> ExtractHtml(std::string_view text) {
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
        htmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, "UTF-8",
                       HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
        &xmlFreeDoc);
    Lines lines;
    if (document) {
        CollectProse(xmlDocGetRootElement(document.get()), lines);
    }
    return lines.Take();
}

// A manual page's line: its prose with the font and escape sequences dropped.
std::string RoffLine(std::string_view raw) {
    if (raw.starts_with(".\\\"") || raw.starts_with(".TH") || raw == ".nh") {
        return {};
    }
    std::string_view body = raw;
    if (body.starts_with('.')) {
        const std::size_t blank = body.find(' ');
        body = blank == std::string_view::npos ? std::string_view{} : body.substr(blank);
    }
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '"') {
            out += ' ';
        } else if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
        } else if (body[i + 1] == 'f') {
            i += 2; // \fB, \fI, \fR, \fP
        } else if (body[i + 1] == '(') {
            out += ' ';
            i += 3;
        } else if (body[i + 1] == '-' || body[i + 1] == 'e' || body[i + 1] == '\\') {
            out += body[i + 1] == '-' ? '-' : '\\';
            ++i;
        } else {
            ++i; // \& and the like print nothing
        }
    }
    return out;
}

// Decodes one C++ literal's body: \u escapes to UTF-8, \n \r \t to blanks.
std::string DecodeCppLiteral(std::string_view body) {
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
            continue;
        }
        const char e = body[++i];
        if (e == 'u' || e == 'U') {
            const std::size_t digits = e == 'u' ? 4 : 8;
            out += ToUtf8(static_cast<char32_t>(
                std::stoul(std::string(body.substr(i + 1, digits)), nullptr, 16)));
            i += digits;
        } else if (e == 'n' || e == 'r' || e == 't') {
            out += ' ';
        } else if (e == 'x') {
            out += ' ';
            while (i + 1 < body.size() && std::isxdigit(static_cast<unsigned char>(body[i + 1]))) {
                ++i;
            }
        } else {
            out += e;
        }
    }
    return out;
}

std::vector<TextLine> ExtractCpp(std::string_view text) {
    Lines lines;
    int line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
        } else if (c == '#' && text.substr(text.rfind('\n', i) + 1, i - text.rfind('\n', i) - 1)
                                       .find_first_not_of(" \t") == std::string_view::npos) {
            i = std::min(text.find('\n', i), text.size()) - 1; // #include, #error
        } else if (text.substr(i, 2) == "//") {
            i = std::min(text.find('\n', i), text.size()) - 1;
        } else if (text.substr(i, 2) == "/*") {
            const std::size_t end = std::min(text.find("*/", i), text.size());
            line += CountLines(text.substr(i, end - i));
            i = end + 1;
        } else if (c == '\'' &&
                   !(i > 0 && std::isxdigit(static_cast<unsigned char>(text[i - 1])))) {
            // A character literal; a quote between digits is a digit separator.
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != '\'') {
                end += text[end] == '\\' ? 2 : 1;
            }
            i = end;
        } else if (c == '"') {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != '"' && text[end] != '\n') {
                end += text[end] == '\\' ? 2 : 1;
            }
            const std::string literal = DecodeCppLiteral(text.substr(i + 1, end - i - 1));
            // Paths and commands hold a backslash; assertions speak to developers, in English.
            const std::string_view before =
                text.substr(i > 200 ? i - 200 : 0, std::min<std::size_t>(i, 200));
            const std::size_t statement = before.rfind(';');
            const std::string_view current =
                statement == std::string_view::npos ? before : before.substr(statement);
            if (literal.find(' ') != std::string::npos && literal.find('\\') == std::string::npos &&
                current.find("static_assert") == std::string_view::npos &&
                current.find("__asm__") == std::string_view::npos) {
                lines.Add(line, literal);
                lines.Add(line, " ");
            }
            i = end;
        }
    }
    return lines.Take();
}

// An installer script's line: its quoted strings that hold a blank, variables dropped, outside
// preprocessor lines and comments.
std::string NsisLine(std::string_view raw) {
    std::string out;
    const std::size_t first = raw.find_first_not_of(" \t");
    if (first == std::string::npos || raw[first] == '!' || raw[first] == ';' || raw[first] == '#') {
        return out;
    }
    for (std::size_t i = raw.find('"'); i != std::string::npos;) {
        std::size_t end = i + 1;
        while (end < raw.size() && raw[end] != '"') {
            end += raw[end] == '$' ? 2 : 1;
        }
        std::string literal;
        for (std::size_t k = i + 1; k < std::min(end, raw.size()); ++k) {
            if (raw[k] != '$') {
                literal += raw[k];
            } else if (k + 1 < raw.size() && raw[k + 1] == '{') {
                k = raw.find('}', k); // ${PRODUCT}
                literal += ' ';
            } else if (k + 1 < raw.size() && raw[k + 1] == '\\') {
                k += 2; // $\r $\n $\t $\"
                literal += ' ';
            } else {
                while (k + 1 < raw.size() && std::isalnum(static_cast<unsigned char>(raw[k + 1]))) {
                    ++k; // $INSTDIR, $R2, $1
                }
                literal += ' ';
            }
        }
        if (literal.find(' ') != std::string::npos) {
            out += literal + " ";
        }
        i = end < raw.size() ? raw.find('"', end + 1) : std::string::npos;
    }
    return out;
}

// A plain text's line, unless it is indented: a command or a path to type.
std::string PlainLine(std::string_view raw) {
    return raw.starts_with("    ") ? std::string() : std::string(raw);
}

// The prose of a text read one line at a time, what `keep` keeps of each line.
std::vector<TextLine> ByLine(std::string_view text, std::string (*keep)(std::string_view)) {
    Lines lines;
    std::istringstream in{std::string(text)};
    int line = 0;
    for (std::string raw; std::getline(in, raw);) {
        lines.Add(++line, keep(raw));
    }
    return lines.Take();
}

bool IsLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') ||
           (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == 0xA0;
}

// A chunk that is a path, a figure, an address, a key chord or an option, not a word.
bool IsCode(std::u32string_view chunk) {
    const std::u32string_view markers = U"0123456789\\/_@=<>|+{}[]";
    if (chunk.find_first_of(markers) != std::u32string_view::npos) {
        return true;
    }
    const std::size_t start = chunk.find_first_not_of(U"(\u00AB\"\u00BF\u00A1'");
    if (start != std::u32string_view::npos && chunk[start] == U'-') {
        return true;
    }
    for (std::size_t i = 0; i + 1 < chunk.size(); ++i) {
        if (chunk[i] == U'.' && IsLetter(chunk[i + 1])) {
            return true; // zelvaran.exe, e.g.
        }
    }
    return false;
}

} // namespace

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string FromWindows1252(std::string_view text) {
    return Convert("WINDOWS-1252", "UTF-8", text);
}

std::vector<TextLine> Extract(Kind kind, std::string_view text) {
    switch (kind) {
    case Kind::Html:
        return ExtractHtml(text);
    case Kind::Roff:
        return ByLine(text, RoffLine);
    case Kind::Cpp:
        return ExtractCpp(text);
    case Kind::Nsis:
        return ByLine(text, NsisLine);
    case Kind::Plain:
        break;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    return ByLine(text, PlainLine);
}

std::vector<std::string> Words(std::string_view prose) {
    const std::u32string text = ToUtf32(prose);
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end])) {
            ++end;
        }
        const std::u32string_view chunk(text.data() + i, end - i);
        if (!IsCode(chunk)) {
            for (std::size_t k = 0; k < chunk.size();) {
                std::size_t stop = k;
                while (stop < chunk.size() && IsLetter(chunk[stop])) {
                    ++stop;
                }
                const auto camel = std::ranges::adjacent_find(
                    chunk.substr(k, stop - k), [](char32_t a, char32_t b) {
                        return a >= U'a' && a <= U'z' && b >= U'A' && b <= U'Z';
                    });
                if (stop - k >= 2 && camel == chunk.substr(k, stop - k).end()) {
                    words.push_back(ToUtf8(chunk.substr(k, stop - k)));
                }
                k = stop + 1;
            }
        }
        i = end;
    }
    return words;
}

} // namespace zelvaran::texts
