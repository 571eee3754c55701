// The table of stored values against the program: its keys are exactly those the sources store,
// and every page that tells the user what the program keeps lists every row.
#include "config/stored_values.h"
#include "texts.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace zelvaran::texts {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = ZELVARAN_SOURCE_DIR;

// The keys the program's sources name: constants kKey... = L"...", and any text key written
// straight into a call of the settings store.
std::set<std::string> KeysInSources() {
    const std::regex constant(R"(\bkKey\w*\s*=\s*L"([^"]+)\")");
    const std::regex call(R"(\b(?:Save|Get)Setting\s*\(\s*[^,;()]+,\s*[^,;()]+,\s*L"([^"]+)\")");
    std::set<std::string> keys;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot)) {
        const fs::path relative = fs::relative(entry.path(), kRoot);
        const std::string top = relative.begin()->string();
        if (top == "build" || top == "tests" || top == "bench" || top == "fuzz" ||
            top.starts_with(".") || !entry.is_regular_file() ||
            (entry.path().extension() != ".cpp" && entry.path().extension() != ".h")) {
            continue;
        }
        const std::string text = ReadFile(entry.path()).value_or("");
        for (const std::regex* pattern : {&constant, &call}) {
            for (std::sregex_iterator it(text.begin(), text.end(), *pattern), end; it != end;
                 ++it) {
                keys.insert((*it)[1]);
            }
        }
    }
    return keys;
}

TEST(StoredValues, TableHasARowForEveryKeyTheProgramStores) {
    std::set<std::string> rows;
    for (const config::StoredValue& value : config::kStoredValues) {
        EXPECT_TRUE(rows.insert(std::string(value.Key)).second) << "two rows for " << value.Key;
    }
    const std::set<std::string> stored = KeysInSources();
    EXPECT_GE(stored.size(), 8u) << "the source scan found suspiciously few keys";
    for (const std::string& key : stored) {
        EXPECT_TRUE(rows.contains(key))
            << key << " is stored but has no row in config/stored_values.h";
    }
    for (const std::string& row : rows) {
        EXPECT_TRUE(stored.contains(row)) << row << " has a row but the program never stores it";
    }
}

TEST(StoredValues, EveryPageListsEveryRow) {
    const auto prose = [](const char* file, Kind kind, bool windows1252) {
        const std::string bytes = ReadFile(kRoot / file).value_or("");
        std::string all;
        for (const TextLine& line : Extract(kind, windows1252 ? FromWindows1252(bytes) : bytes)) {
            all += line.Text + "\n";
        }
        return all;
    };
    // The help's page holds the whole row; the others name the key.
    const std::string help = FromWindows1252(ReadFile(kRoot / "help/ajustes.htm").value_or(""));
    const std::string helpProse = prose("help/ajustes.htm", Kind::Html, true);
    const std::string leeme = ReadFile(kRoot / "installer/LEEME.txt").value_or("");
    const std::string readme = ReadFile(kRoot / "README.md").value_or("");
    for (const config::StoredValue& value : config::kStoredValues) {
        std::string key = "<code>";
        key.append(value.Key).append("</code>");
        EXPECT_NE(help.find(key), std::string::npos) << "help/ajustes.htm lacks " << value.Key;
        EXPECT_NE(helpProse.find(value.Choice), std::string::npos)
            << "help/ajustes.htm lacks " << value.Choice;
        EXPECT_NE(helpProse.find(value.Content), std::string::npos)
            << "help/ajustes.htm lacks " << value.Content;
        EXPECT_NE(leeme.find(value.Key), std::string::npos) << "LEEME.txt lacks " << value.Key;
        std::string quoted = "`";
        quoted.append(value.Key).append("`");
        EXPECT_NE(readme.find(quoted), std::string::npos) << "README.md lacks " << value.Key;
    }
}

} // namespace
} // namespace zelvaran::texts
