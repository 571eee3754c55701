// Checks of the compiled help file zelvaran_help.chm against the sources it was built from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "help_file.h"
#include "help_sources.h"

namespace zelvaran::help {
namespace {

TEST_F(HelpFile, IsAValidItsfVersion3Archive) {
    EXPECT_EQ(File().Head().Version, 3u);
    EXPECT_TRUE(File().Has("/"));
    // Spanish (Spain, international sort): the viewer then reads the contents and index names in
    // code page 1252, the encoding of the sitemap sources.
    EXPECT_EQ(File().Head().LanguageId, 0x0C0Au);
}

TEST_F(HelpFile, HoldsTheViewersInternalFiles) {
    // #SYSTEM carries the project's settings; #TOPICS, #URLTBL, #URLSTR and #STRINGS the topic
    // table; #WINDOWS the viewer window; $FIftiMain the full-text search of its Search tab.
    for (const char* name : {"/#SYSTEM", "/#TOPICS", "/#URLSTR", "/#URLTBL", "/#STRINGS",
                             "/#WINDOWS", "/$FIftiMain"}) {
        EXPECT_TRUE(File().Has(name)) << name;
    }
}

TEST_F(HelpFile, SystemFileCarriesTheProjectsStartPageContentsIndexAndTitle) {
    const auto records = SystemRecords();
    ASSERT_TRUE(records);
    const auto text = [&records](std::uint16_t code) {
        const auto it = records->find(code);
        return it == records->end() ? std::string("<missing>") : RecordText(it->second);
    };
    EXPECT_EQ(text(0), Option("Contents file"));
    EXPECT_EQ(text(1), Option("Index file"));
    EXPECT_EQ(text(2), Option("Default topic"));
    EXPECT_EQ(text(3), Option("Title"));
    for (const std::uint16_t code : {0, 1, 2}) {
        EXPECT_TRUE(File().Has(EntryName(text(code)))) << "#SYSTEM code " << code;
    }
}

TEST_F(HelpFile, SaysItsNamesAreInWindowsLatin1) {
    // The viewer reads the contents, index and topic titles in the code page of the default
    // font's character set, not the system's: charset 0 (ANSI_CHARSET) is Windows-1252, the
    // encoding of the sitemaps and titles, so "Configuraci\u00F3n" reads right on a Greek or
    // Russian Windows too.
    const auto records = SystemRecords();
    ASSERT_TRUE(records);
    ASSERT_TRUE(records->contains(16)) << "no default font";
    const std::string font = RecordText(records->at(16));
    EXPECT_EQ(font.substr(font.rfind(',') + 1), "0") << font;
    EXPECT_EQ(font, Option("Default Font"));
}

TEST_F(HelpFile, CarriesNoCompileTimeStamps) {
    // The build clears both stamps so that the same sources always give the same bytes.
    EXPECT_EQ(File().Head().TimeStamp, 0u);
    const auto records = SystemRecords();
    ASSERT_TRUE(records);
    ASSERT_TRUE(records->contains(10));
    EXPECT_EQ(records->at(10), std::vector<std::byte>(4, std::byte{0}));
}

TEST_F(HelpFile, HoldsEveryTopicOfTheTableOfContents) {
    const std::string contents = Option("Contents file");
    ASSERT_FALSE(contents.empty());
    EXPECT_TRUE(File().Has(EntryName(contents))) << contents;
    ExpectSitemapTargetsInside(contents, 10);
}

TEST_F(HelpFile, HoldsTheKeywordIndexAndEveryPageItNames) {
    const std::string index = Option("Index file");
    ASSERT_FALSE(index.empty());
    EXPECT_TRUE(File().Has(EntryName(index))) << index;
    ExpectSitemapTargetsInside(index, 40);
}

TEST_F(HelpFile, HoldsEveryPageAndEveryFileThePagesLinkTo) {
    std::size_t pages = 0;
    std::size_t links = 0;
    for (const auto& file : std::filesystem::directory_iterator(SourceDir())) {
        const std::string entry = EntryName(file.path().filename().string());
        const auto html = ReadText(file.path());
        ASSERT_TRUE(html) << file.path();
        // Read back through the compression, every page, sitemap and style sheet inside is its
        // source byte for byte.
        if (file.path().extension() != ".htm") {
            EXPECT_TRUE(!File().Has(entry) || File().Read(entry) == html) << entry;
            continue;
        }
        EXPECT_EQ(File().Read(entry), html) << "page left out or not its source: " << entry;
        for (const std::string& link : LinkValues(*html)) {
            if (!IsExternal(link)) {
                ExpectLinkInside(entry, link);
                ++links;
            }
        }
        ++pages;
    }
    EXPECT_GE(pages, 10u);
    EXPECT_GE(links, 50u) << "the link scanner found suspiciously few links";
}

TEST(HelpSources, AreWindows1252TextAndSayWhichCharset) {
    for (const auto& file : std::filesystem::directory_iterator(SourceDir())) {
        const auto ext = file.path().extension();
        if (ext != ".htm" && ext != ".hhc" && ext != ".hhk" && ext != ".hhp" && ext != ".css") {
            continue;
        }
        const auto text = ReadText(file.path());
        ASSERT_TRUE(text) << file.path();
        // A UTF-8 save would show as two odd characters per accent in the viewer.
        EXPECT_EQ(FindUtf8Sequence(*text), std::string::npos) << file.path();
        if (ext == ".htm") {
            EXPECT_NE(text->find("charset=windows-1252"), std::string::npos) << file.path();
        }
    }
}

TEST(HelpSources, StartPageListsEveryTopicOfTheContents) {
    const auto contents = ReadText(SourceDir() / "zelvaran_help.hhc");
    const auto start = ReadText(SourceDir() / "inicio.htm");
    ASSERT_TRUE(contents && start);
    std::size_t topics = 0;
    for (const std::string& local : SitemapLocals(*contents)) {
        if (local.find('#') == std::string::npos && local != "inicio.htm") {
            EXPECT_NE(start->find("href=\"" + local + "\""), std::string::npos) << local;
            ++topics;
        }
    }
    EXPECT_GE(topics, 10u);
}

// The key Spanish dictionaries sort by: case and accents ignored, \xF1 (n with tilde) after n.
std::string SortKey(std::string_view windows1252) {
    std::string key;
    for (const char c : windows1252) {
        const auto b = static_cast<unsigned char>(c);
        const std::string_view folded = b >= 'A' && b <= 'Z' ? std::string_view()
                                        : (b | 0x20) == 0xE1 ? "a"
                                        : (b | 0x20) == 0xE9 ? "e"
                                        : (b | 0x20) == 0xED ? "i"
                                        : (b | 0x20) == 0xF3 ? "o"
                                        : (b | 0x20) == 0xFA || (b | 0x20) == 0xFC ? "u"
                                        : (b | 0x20) == 0xF1                       ? "n\x7F"
                                                             : std::string_view();
        if (b >= 'A' && b <= 'Z') {
            key += static_cast<char>(b | 0x20);
        } else if (!folded.empty()) {
            key += folded;
        } else {
            key += c;
        }
    }
    return key;
}

TEST(HelpSources, IndexIsInAlphabeticalOrder) {
    const auto index = ReadText(SourceDir() / "zelvaran_help.hhk");
    ASSERT_TRUE(index);
    // Only the entries of the outer list: sub-entries follow their own order under an entry.
    std::vector<std::string> names;
    int depth = 0;
    for (std::size_t at = 0; (at = index->find('<', at)) != std::string::npos; ++at) {
        const std::string_view rest = std::string_view(*index).substr(at);
        const auto starts = [&rest](std::string_view tag) {
            return rest.size() >= tag.size() &&
                   std::equal(tag.begin(), tag.end(), rest.begin(), [](char a, char b) {
                       return std::tolower(static_cast<unsigned char>(a)) ==
                              std::tolower(static_cast<unsigned char>(b));
                   });
        };
        if (starts("<ul>")) {
            ++depth;
        } else if (starts("</ul>")) {
            --depth;
        } else if (constexpr std::string_view entry = "<param name=\"name\" value=\"";
                   starts(entry) && depth == 1) {
            const std::size_t start = at + entry.size();
            names.push_back(index->substr(start, index->find('"', start) - start));
        }
    }
    ASSERT_GE(names.size(), 40u);
    for (std::size_t i = 1; i < names.size(); ++i) {
        EXPECT_LE(SortKey(names[i - 1]), SortKey(names[i]))
            << names[i - 1] << " comes before " << names[i];
    }
}

} // namespace
} // namespace zelvaran::help
