// Checks of the compiled help file zelvaran_help.chm against the sources it was built from.
#include <gtest/gtest.h>

#include "help_file.h"
#include "help_sources.h"

namespace zelvaran::help {
namespace {

TEST_F(HelpFile, IsAValidItsfVersion3Archive) {
    const chm::Archive& archive = Archive();
    EXPECT_EQ(archive.Version, 3u);
    EXPECT_GE(archive.ListingChunks, 1u);
    EXPECT_NE(archive.Find("/"), nullptr);
    // Spanish (Spain, international sort): the viewer then reads the contents and index names in
    // code page 1252, the encoding of the sitemap sources.
    EXPECT_EQ(archive.LanguageId, 0x0C0Au);
}

TEST_F(HelpFile, HoldsTheViewersInternalFiles) {
    const chm::Archive& archive = Archive();
    // #SYSTEM carries the project's settings; #TOPICS, #URLTBL, #URLSTR and #STRINGS the topic
    // table; #WINDOWS the viewer window; $FIftiMain the full-text search of its Search tab.
    for (const char* name : {"/#SYSTEM", "/#TOPICS", "/#URLSTR", "/#URLTBL", "/#STRINGS",
                             "/#WINDOWS", "/$FIftiMain"}) {
        EXPECT_NE(archive.Find(name), nullptr) << name;
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
        EXPECT_NE(Archive().Find(EntryName(text(code))), nullptr) << "#SYSTEM code " << code;
    }
}

TEST_F(HelpFile, CarriesNoCompileTimeStamps) {
    // The build clears both stamps so that the same sources always give the same bytes.
    EXPECT_EQ(Archive().TimeStamp, 0u);
    const auto records = SystemRecords();
    ASSERT_TRUE(records);
    ASSERT_TRUE(records->contains(10));
    EXPECT_EQ(records->at(10), std::vector<std::byte>(4, std::byte{0}));
}

TEST_F(HelpFile, HoldsEveryTopicOfTheTableOfContents) {
    const std::string contents = Option("Contents file");
    ASSERT_FALSE(contents.empty());
    EXPECT_NE(Archive().Find(EntryName(contents)), nullptr) << contents;
    ExpectSitemapTargetsInside(contents, 10);
}

TEST_F(HelpFile, HoldsTheKeywordIndexAndEveryPageItNames) {
    const std::string index = Option("Index file");
    ASSERT_FALSE(index.empty());
    EXPECT_NE(Archive().Find(EntryName(index)), nullptr) << index;
    ExpectSitemapTargetsInside(index, 40);
}

TEST_F(HelpFile, HoldsEveryPageAndEveryFileThePagesLinkTo) {
    std::size_t pages = 0;
    std::size_t links = 0;
    for (const auto& file : std::filesystem::directory_iterator(SourceDir())) {
        if (file.path().extension() != ".htm") {
            continue;
        }
        const std::string entry = EntryName(file.path().filename().string());
        EXPECT_NE(Archive().Find(entry), nullptr) << "page left out: " << entry;
        const auto html = ReadText(file.path());
        ASSERT_TRUE(html) << file.path();
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

} // namespace
} // namespace zelvaran::help
