// Every Spanish text the project wrote, spelt with Debian's Spanish dictionary (hunspell-es, read
// by libhunspell): the help, LEEME.txt, the manual page, the installer's strings and every
// sentence in the sources. A word the dictionary does not know must be in allowed_words.txt
// (names, option names and the fixed captions' own spellings); any other fails with its place.
#include "texts.h"

#include <hunspell/hunspell.hxx>

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <sstream>

namespace zelvaran::texts {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = ZELVARAN_SOURCE_DIR;

struct Source {
    const char* Folder;
    std::vector<std::string> Extensions; // or a file name
    Kind Format;
    bool Windows1252;
};

// Where the project's Spanish lives. The word list is checked on its own (words_dictionary_test).
const std::vector<Source> kSources = {
    {"help", {".htm", ".hhc", ".hhk"}, Kind::Html, true},
    {"installer", {"LEEME.txt"}, Kind::Plain, false},
    {"installer", {".nsi"}, Kind::Nsis, false},
    {"cli/debian", {".1"}, Kind::Roff, false},
    {"app", {".cpp", ".h", ".rc"}, Kind::Cpp, false},
    {"about", {".cpp", ".h"}, Kind::Cpp, false},
    {"cli", {".cpp", ".h"}, Kind::Cpp, false},
    {"config", {".cpp", ".h"}, Kind::Cpp, false},
    {"generator", {".cpp", ".h"}, Kind::Cpp, false},
    {"installer", {".cpp", ".h"}, Kind::Cpp, false},
    {"mainwindow", {".cpp", ".h"}, Kind::Cpp, false},
    {"output", {".cpp", ".h"}, Kind::Cpp, false},
    {"passphrase", {".cpp", ".h"}, Kind::Cpp, false},
    {"resources", {".h", ".in"}, Kind::Cpp, false},
    {"ui", {".cpp", ".h"}, Kind::Cpp, false},
};

bool Matches(const fs::path& file, const std::vector<std::string>& extensions) {
    for (const std::string& e : extensions) {
        if (file.extension() == e || file.filename() == e) {
            return true;
        }
    }
    return false;
}

std::set<std::string, std::less<>> AllowedWords() {
    std::set<std::string, std::less<>> allowed;
    std::istringstream in(ReadFile(kRoot / "tests/texts/allowed_words.txt").value_or(""));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') {
            allowed.insert(line);
        }
    }
    return allowed;
}

Hunspell& Spanish() {
    static Hunspell es(ZELVARAN_HUNSPELL_ES ".aff", ZELVARAN_HUNSPELL_ES ".dic");
    return es;
}

TEST(Spelling, EveryWordOfOursIsSpanishOrAllowed) {
    const auto allowed = AllowedWords();
    ASSERT_FALSE(allowed.empty());
    std::size_t files = 0;
    std::size_t words = 0;
    for (const Source& source : kSources) {
        for (const auto& entry : fs::directory_iterator(kRoot / source.Folder)) {
            if (!entry.is_regular_file() || !Matches(entry.path(), source.Extensions)) {
                continue;
            }
            const auto bytes = ReadFile(entry.path());
            ASSERT_TRUE(bytes) << entry.path();
            const std::string text = source.Windows1252 ? FromWindows1252(*bytes) : *bytes;
            const std::string name = fs::relative(entry.path(), kRoot).generic_string();
            ++files;
            for (const TextLine& line : Extract(source.Format, text)) {
                for (const std::string& word : Words(line.Text)) {
                    ++words;
                    std::string lower = word;
                    lower[0] =
                        static_cast<char>(std::tolower(static_cast<unsigned char>(lower[0])));
                    if (!allowed.contains(word) && !allowed.contains(lower) &&
                        !Spanish().spell(word)) {
                        ADD_FAILURE() << name << ":" << line.Line << ": " << word;
                    }
                }
            }
        }
    }
    EXPECT_GE(files, 50u);
    EXPECT_GE(words, 5000u) << "the extraction found suspiciously few words";
}

TEST(Spelling, AllowedWordsAreOnesTheDictionaryRefuses) {
    for (const std::string& word : AllowedWords()) {
        EXPECT_FALSE(Spanish().spell(word)) << word << " needs no place in allowed_words.txt";
    }
}

// LEEME.txt is opened by a double click on any Windows: UTF-8 with a byte-order mark reads right
// in Notepad whatever the system's code page.
TEST(Spelling, ReadmeOfTheZipIsUtf8WithAByteOrderMark) {
    const auto text = ReadFile(kRoot / "installer/LEEME.txt");
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->starts_with("\xEF\xBB\xBF"));
    EXPECT_NE(text->find("contrase\xC3\xB1"
                         "as"),
              std::string::npos);
}

// The phrases shown as examples must be ones the built-in list can make: the help's, and the
// README's output of zelvaran-cli -p 6 -S ' '.
TEST(Spelling, ExamplePhrasesComeFromTheWordList) {
    std::set<std::string, std::less<>> list;
    std::istringstream in(ReadFile(kRoot / "generator/wordlist/palabras.txt").value_or(""));
    for (std::string word; in >> word;) {
        list.insert(word);
    }
    ASSERT_GE(list.size(), 1000u);
    const std::string help = ReadFile(kRoot / "help/frase.htm").value_or("");
    const std::string readme = ReadFile(kRoot / "README.md").value_or("");
    const std::size_t code = help.find("<code>") + 6;
    const std::size_t output = readme.find("-S ' ' -e\n");
    ASSERT_NE(output, std::string::npos);
    const std::size_t line = readme.find('\n', output) + 1;
    const struct {
        std::string Phrase;
        char Separator;
    } examples[] = {{help.substr(code, help.find('<', code) - code), '-'},
                    {readme.substr(line, readme.find('\n', line) - line), ' '}};
    for (const auto& example : examples) {
        std::istringstream words(example.Phrase);
        std::size_t count = 0;
        for (std::string word; std::getline(words, word, example.Separator);) {
            if (!word.empty()) { // the README's line is indented
                EXPECT_TRUE(list.contains(word)) << word << " in " << example.Phrase;
                ++count;
            }
        }
        EXPECT_EQ(count, 6u) << example.Phrase;
    }
}

struct ExtractCase {
    Kind Format;
    const char* Text;
    std::vector<std::string> Words;
};

TEST(Spelling, ExtractionKeepsProseAndDropsCode) {
    const std::vector<ExtractCase> cases = {
        {Kind::Html,
         "<p class=\"x\">Contrase&ntilde;a <code>ACGNE</code> <kbd>Alt</kbd>"
         "<!-- nota --> y&nbsp;m&aacute;s</p>",
         {"Contraseña", "más"}},
        {Kind::Html,
         "<param name=\"Name\" value=\"men&uacute;s\"><param name=\"Local\" value=\"a.htm\">",
         {"menús"}},
        {Kind::Cpp,
         "// comentario ignorado\nf(L\"Vuelva a intentarlo\", \"Sin\", '\"', u\"m\\u00E1s "
         "tarde\");",
         {"Vuelva", "intentarlo", "más", "tarde"}},
        {Kind::Roff,
         ".\\\" nota\n.BR \\-f , plantilla\n\\fBdel\\fR sistema",
         {"plantilla", "del", "sistema"}},
        {Kind::Nsis,
         "!define X \"no se mira\"\n  MessageBox MB_OK \"${PRODUCT} est\xC3\xA1 $INSTDIR "
         "abierto$\\r$\\nCi\xC3\xA9rrelo\"",
         {"está", "abierto", "Ciérrelo"}},
        {Kind::Plain,
         "\xEF\xBB\xBFVea C:\\Archivos zelvaran.exe -p --frase 72,0 bits.",
         {"Vea", "bits"}},
    };
    for (const ExtractCase& c : cases) {
        std::vector<std::string> words;
        for (const TextLine& line : Extract(c.Format, c.Text)) {
            for (std::string& w : Words(line.Text)) {
                words.push_back(std::move(w));
            }
        }
        EXPECT_EQ(words, c.Words) << c.Text;
    }
    // What Windows-1252 adds to Latin-1; a byte no encoding here reads stands for itself.
    EXPECT_EQ(FromWindows1252("\x93\xF1\x80\x81\x94"), "\u201C\u00F1\u20AC\u0081\u201D");
    EXPECT_EQ(Words("a\xE9reo"), std::vector<std::string>{"a\u00E9reo"});
}

} // namespace
} // namespace zelvaran::texts
