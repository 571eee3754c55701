// The built zelvaran-cli as a process, natively and (in the Windows build) under Wine: what a
// script sees on its streams and in the exit code.
#include "process.h"

#include "cli/text.h"
#include "generator/generator.h"
#include "generator/words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace zelvaran::cli::testing {
namespace {

std::vector<std::u32string> Lines(const std::string& utf8) {
    std::vector<std::u32string> lines;
    std::istringstream in(utf8);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(ToCodePoints(FromUtf8(line).value_or(u"<not UTF-8>")));
    }
    return lines;
}

bool AllIn(std::u32string_view text, std::u32string_view allowed) {
    return std::all_of(text.begin(), text.end(),
                       [&](char32_t c) { return allowed.find(c) != std::u32string_view::npos; });
}

const std::u32string kLower = U"abcdefghijklmnopqrstuvwxyz";
const std::u32string kUpper = U"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::u32string kDigits = U"0123456789";
const std::u32string kSymbols = U"\"*?-+!\u00A6/(&=#";

TEST(CliProcess, ClassesAndSymbolsAreHonoured) {
    const struct {
        std::vector<std::string> Args;
        std::u32string Allowed;
    } table[] = {
        {{}, kLower + kUpper + kDigits},
        {{"-c", "n", "-l", "300"}, kDigits},
        {{"--clases=Gc", "-l", "300"}, kLower + kUpper},
        {{"-c", "e", "-l", "300"}, kSymbols},
        // Unicode symbols, one outside the BMP: each is one element and arrives as UTF-8.
        {{"-c", "e", "-s", "\u20AC\U0001F600\u00F1", "-l", "300"}, U"\u20AC\U0001F600\u00F1"},
    };
    for (const auto& row : table) {
        const ProcessResult run = RunCli(row.Args);
        const std::string joined = ::testing::PrintToString(row.Args);
        ASSERT_EQ(run.ExitCode, 0) << joined << run.Err;
        EXPECT_EQ(run.Err, "") << joined;
        const auto lines = Lines(run.Out);
        ASSERT_EQ(lines.size(), 1u) << joined;
        EXPECT_EQ(lines[0].size(), row.Args.empty() ? 20u : 300u) << joined;
        EXPECT_TRUE(AllIn(lines[0], row.Allowed)) << joined << run.Out;
        // 300 draws from at most 62 characters: every one of a small set turns up.
        if (row.Allowed.size() <= 12) {
            for (const char32_t c : row.Allowed) {
                EXPECT_NE(lines[0].find(c), std::u32string::npos) << joined;
            }
        }
    }
}

TEST(CliProcess, TemplateFollowsTheWindowsRules) {
    const ProcessResult run = RunCli({"-c", "cgne", "-f", "aCgNe-x\u00F1", "-l", "17", "-n", "50"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 50u);
    const std::u32string pool = kLower + kUpper + kDigits + kSymbols;
    const std::u32string_view allowed[] = {pool,     kLower, kUpper, kDigits,
                                           kSymbols, U"-",   U"x",   U"\u00F1"};
    for (const std::u32string& line : lines) {
        ASSERT_EQ(line.size(), 17u);
        for (std::size_t i = 0; i < line.size(); ++i) {
            EXPECT_TRUE(AllIn(line.substr(i, 1), allowed[i % 8])) << "position " << i;
        }
    }
    // The window's check: E names the empty symbol class of the default classes.
    const ProcessResult refused = RunCli({"-f", "ACGNE"});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(refused.Out, "");
    EXPECT_NE(refused.Err.find("-c/--clases"), std::string::npos) << refused.Err;
}

TEST(CliProcess, PassphraseWordsComeFromTheList) {
    const ProcessResult run = RunCli({"-p", "8", "-S", " / ", "-n", "40"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto words = SpanishWords();
    std::istringstream in(run.Out);
    int phrases = 0;
    for (std::string line; std::getline(in, line); ++phrases) {
        int count = 0;
        for (std::size_t start = 0;; ++count) {
            const std::size_t end = line.find(" / ", start);
            const std::string word = line.substr(start, end - start);
            EXPECT_TRUE(std::binary_search(words.begin(), words.end(), std::string_view(word)))
                << word;
            if (end == std::string::npos) {
                break;
            }
            start = end + 3;
        }
        EXPECT_EQ(count + 1, 8);
    }
    EXPECT_EQ(phrases, 40);
}

// Once per run, after the results, whatever their number.
TEST(CliProcess, EntropyGoesToStandardErrorOnce) {
    struct Case {
        std::vector<std::string> Args;
        std::string Line;
    };
    const std::vector<Case> table = {
        {{"-e", "-n", "3"}, "Entrop\u00EDa: 119,1 bits (muy fuerte)\n"},
        {{"-e", "-p", "6", "-n", "2"}, "Entrop\u00EDa: 72,0 bits (buena)\n"},
        {{"-e", "-p", "6", "-M", "--cifra"}, "Entrop\u00EDa: 77,9 bits (buena)\n"},
        {{"-e", "-c", "e", "-s", "aa1", "-l", "3"}, "Entrop\u00EDa: 2,8 bits (muy d\u00E9bil)\n"},
        {{"-e", "-c", "n", "-f", "Xn-9", "-l", "4"}, "Entrop\u00EDa: 3,3 bits (muy d\u00E9bil)\n"},
    };
    for (const Case& row : table) {
        const ProcessResult run = RunCli(row.Args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Err, row.Line) << ::testing::PrintToString(row.Args);
        EXPECT_GT(Lines(run.Out).size(), 0u);
    }
}

TEST(CliProcess, ExitCodesAndStreamsOfRefusals) {
    const ProcessResult usage = RunCli({"-l", "10000"});
    EXPECT_EQ(usage.ExitCode, 2);
    EXPECT_EQ(usage.Out, "");
    EXPECT_EQ(std::count(usage.Err.begin(), usage.Err.end(), '\n'), 1) << usage.Err;
    EXPECT_NE(usage.Err.find("--ayuda"), std::string::npos);
    const ProcessResult version = RunCli({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "zelvaran-cli 1.0.42\n");
#ifndef _WIN32
    // Linux passes bytes: an argument that is not UTF-8 is refused, not guessed at.
    const ProcessResult bytes = RunCli({"-s", "\xFF", "-c", "e"});
    EXPECT_EQ(bytes.ExitCode, 2);
    EXPECT_EQ(bytes.Out, "");
#endif
}

// 10000 passwords of 9999 characters (100 MB) stream through in a few megabytes; the same
// holds for the largest count, 100000 (1 GB), which takes too long for every test run.
TEST(CliProcess, LargeCountsStreamInConstantMemory) {
    std::size_t bytes = 0;
    std::size_t lines = 0;
    std::size_t sinceNewline = 0;
    bool even = true;
    const ProcessResult run =
        RunCli({"-n", "10000", "-l", "9999"}, [&](const char* data, std::size_t size) {
            bytes += size;
            for (std::size_t i = 0; i < size; ++i) {
                if (data[i] == '\n') {
                    even = even && sinceNewline == 9999;
                    sinceNewline = 0;
                    ++lines;
                } else {
                    ++sinceNewline;
                }
            }
        });
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(lines, 10000u);
    EXPECT_EQ(bytes, 10000u * 10000u);
    EXPECT_TRUE(even) << "every line holds 9999 characters";
    EXPECT_GT(run.PeakMemoryBytes, 0u);
    // Far below the 100 MB written, so nothing piles up; Wine's own share of a process is about
    // 16 MiB, which left no room at all under a bound of 16 MiB.
    EXPECT_LT(run.PeakMemoryBytes, 32u << 20) << "peak " << run.PeakMemoryBytes;
}

} // namespace
} // namespace zelvaran::cli::testing
