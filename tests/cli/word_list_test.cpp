// -w/--lista: what a list of the user's own keeps and what it refuses, as a table over the
// checker, and the command run on real files.
#include "capture.h"

#include "../generator/test_support.h"
#include "cli/word_list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zelvaran::cli::testing {
namespace {

struct ListCase {
    std::string Bytes;
    std::vector<std::string_view> Words; // kept, in order; empty when refused
    std::optional<WordListProblem> Problem;
    std::size_t Line;
    WordListUse Use = {};
};

TEST(CliWordList, KeepsDistinctTrimmedWordsAndRefusesWhatIsNotAWord) {
    using enum WordListProblem;
    const std::vector<ListCase> table = {
        {"uno\ndos", {"uno", "dos"}, std::nullopt, 0},
        // A byte-order mark, Windows line ends, blanks (no-break space too), blank lines and
        // repeats.
        {"\xEF\xBB\xBF  uno \r\n\n\tdos\t\r\nuno\n\xC2\xA0tres\xE3\x80\x80\n  uno  \n",
         {"uno", "dos", "tres"},
         std::nullopt,
         0},
        {"buenos d\xC3\xAD"
         "as\n\xC3\xB1u\n",
         {"buenos d\xC3\xAD"
          "as",
          "\xC3\xB1u"},
         std::nullopt,
         0},
        {"uno\ndos\xFF\n", {}, NotUtf8, 2},
        {"uno\n\xC3\n", {}, NotUtf8, 2},
        {"uno\ndos\nd\x01os\n", {}, ControlCharacter, 3},
        {"uno\r\rdos\n", {}, ControlCharacter, 1},
        {"uno\n\xC2\x85x\n", {}, ControlCharacter, 2}, // NEL, a C1 control
        {"uno\nun\to\n", {}, ControlCharacter, 2},
        {"uno\n uno\r\n\n", {}, TooFewWords, 0},
        {"", {}, TooFewWords, 0},
        {std::string(kMaxWordListBytes + 1, 'a'), {}, TooLarge, 0},
        // Words a phrase prints alike are one word: with capitals, casa is Casa.
        {"casa\nCasa\nmesa\n", {"casa", "mesa"}, std::nullopt, 0, {.Capitalize = true}},
        {"casa\nCasa\n", {"casa", "Casa"}, std::nullopt, 0},
        {"casa\nCasa\n", {}, TooFewWords, 0, {.Capitalize = true}},
        // With the digit, a word's own final digit would read as the added one.
        {"casa\nmesa2\n", {}, EndsInDigit, 2, {.AddDigit = true}},
        {"casa2x\nmesa\n", {"casa2x", "mesa"}, std::nullopt, 0, {.AddDigit = true}},
        // Joined words (-S ''): the capital of -M must mark where each one starts.
        {"Casa\n\xC3\xB1u\niPhone\n", {}, NoCapital, 3, {.Capitalize = true, .Joined = true}},
        // Invisible characters (which ones is the phrase rules' table): a direction override.
        {"casa\n\xE2\x80\xAEmesa\n", {}, InvisibleCharacter, 2},
    };
    for (const ListCase& row : table) {
        UserWordList list;
        const auto error = list.Parse(row.Bytes, row.Use);
        const std::string name = ::testing::PrintToString(row.Bytes.substr(0, 40));
        ASSERT_EQ(error.has_value(), row.Problem.has_value()) << name;
        if (error) {
            EXPECT_EQ(error->Problem, *row.Problem) << name;
            EXPECT_EQ(error->Line, row.Line) << name;
        } else {
            EXPECT_EQ(list.Words(), row.Words) << name;
        }
    }
}

TEST(CliWordList, TheCommandReadsTheFileAndRefusesABadOneWithNothingOut) {
    const auto path = std::filesystem::temp_directory_path() / "zelvaran-lista-test.txt";
    const auto write = [&path](const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    };
    const std::string file = path.string();

    write("sol\nluna\nmar\nsol\nMar\n"); // with -M, Mar is mar: still three words
    auto random = zelvaran::testing::Constant(0x80);
    const Outcome ok = RunMain({"-p", "3", "-e", "-w", file, "-M"}, random);
    EXPECT_EQ(ok.ExitCode, 0) << ok.Err;
    EXPECT_EQ(ok.Out, "Mar-Mar-Mar\n"); // 0x80 = 128, and 128 mod 3 = 2: the third word
    EXPECT_EQ(ok.Err, "Entrop\u00EDa: 4,8 bits (muy d\u00E9bil)\n");

    write("sol\n\x1B[2Jluna\n");
    const Outcome control = RunMain({"-p", "3", "--lista=" + file}, random);
    EXPECT_EQ(control.ExitCode, 1);
    EXPECT_EQ(control.Out, "");
    EXPECT_EQ(control.Err, "zelvaran-cli: -w/--lista: la l\u00EDnea 2 de \u00AB" + file +
                               "\u00BB tiene un car\u00E1cter de control; escriba una palabra "
                               "por l\u00EDnea\n");
    write("sol\nluna7\n");
    const Outcome digit = RunMain({"-p", "3", "-d", "-w", file}, random);
    EXPECT_EQ(digit.ExitCode, 1);
    EXPECT_EQ(digit.Out, "");
    EXPECT_EQ(digit.Err, "zelvaran-cli: -w/--lista: la l\u00EDnea 2 de \u00AB" + file +
                             "\u00BB termina en una cifra, que con -d/--cifra se "
                             "confundir\u00EDa con la cifra a\u00F1adida; quite esa cifra o no "
                             "use -d\n");
    std::filesystem::remove(path);
    const Outcome missing = RunMain({"-p", "3", "-w", file}, random);
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_EQ(missing.Out, "");
    EXPECT_EQ(missing.Err, "zelvaran-cli: -w/--lista: no se pudo leer \u00AB" + file + "\u00BB\n");
}

} // namespace
} // namespace zelvaran::cli::testing
