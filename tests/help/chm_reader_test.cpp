// The reader and the source scanners that the help file checks rely on: if they could miss a fault,
// those checks would pass on a broken file.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "chm_reader.h"
#include "help_file.h"
#include "help_sources.h"

namespace zelvaran {
namespace {

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
    std::vector<std::byte> out;
    for (const int v : values) {
        out.push_back(static_cast<std::byte>(v));
    }
    return out;
}

TEST(ChmReader, DecodesEncints) {
    struct Case {
        std::vector<std::byte> Data;
        std::uint64_t Value;
    };
    const Case cases[] = {{Bytes({0x00}), 0},
                          {Bytes({0x7F}), 127},
                          {Bytes({0x81, 0x00}), 128},
                          {Bytes({0x82, 0x80, 0x01}), 32769},
                          {Bytes({0x90, 0x80, 0x80, 0x00}), 1u << 25}};
    for (const Case& c : cases) {
        std::size_t pos = 0;
        const auto value = chm::ReadEncint(c.Data, pos);
        ASSERT_TRUE(value);
        EXPECT_EQ(*value, c.Value);
        EXPECT_EQ(pos, c.Data.size());
    }
    std::size_t pos = 0;
    EXPECT_FALSE(chm::ReadEncint(Bytes({0x81, 0x80}), pos)) << "runs off the end";
    std::vector<std::byte> tooLong(11, std::byte{0xFF});
    tooLong.push_back(std::byte{0x01});
    pos = 0;
    EXPECT_FALSE(chm::ReadEncint(tooLong, pos)) << "more than 64 bits";
}

TEST(ChmReader, ReadsSystemRecordsAndRejectsCutOnes) {
    const auto system =
        Bytes({3, 0, 0, 0, 2, 0, 6, 0, 'a', '.', 'h', 't', 'm', 0, 10, 0, 4, 0, 1, 2, 3, 4});
    const auto records = chm::SystemRecords(system);
    ASSERT_TRUE(records);
    EXPECT_EQ(records->size(), 2u);
    EXPECT_EQ(help::RecordText(records->at(2)), "a.htm");
    EXPECT_EQ(records->at(10), Bytes({1, 2, 3, 4}));
    const std::vector<std::byte> cut(system.begin(), system.end() - 1);
    EXPECT_FALSE(chm::SystemRecords(cut));
}

// Each kind of damage to a copy of the real help file must be reported, not read past.
TEST(ChmReader, RejectsDamagedCopiesOfTheHelpFile) {
    const auto& original = help::Loaded();
    ASSERT_TRUE(std::holds_alternative<chm::Archive>(original.Parsed)) << help::ChmPath();
    const auto& archive = std::get<chm::Archive>(original.Parsed);
    const auto le32 = [&original](std::size_t at) {
        std::size_t value = 0;
        for (std::size_t i = 4; i-- > 0;) {
            value = (value << 8) | std::to_integer<std::size_t>(original.Bytes[at + i]);
        }
        return value;
    };
    const std::size_t dirAt = le32(0x48); // the directory's offset, from the ITSF header
    const std::size_t firstChunk = dirAt + 0x54 + le32(dirAt + 0x20) * archive.ChunkSize;
    const std::size_t chunkEnd = firstChunk + archive.ChunkSize;
    ASSERT_LE(chunkEnd, original.Bytes.size());

    // What to break, how, and a word of the message that must name the damage.
    struct Damage {
        const char* What;
        std::function<void(std::vector<std::byte>&)> Apply;
        const char* Reported;
    };
    const Damage damages[] = {
        {"signature", [](auto& b) { b[0] = std::byte{'X'}; }, "ITSF signature"},
        {"version 2", [](auto& b) { b[4] = std::byte{2}; }, "version 3"},
        {"cut short", [](auto& b) { b.resize(b.size() - 100); }, "file length"},
        {"directory header", [dirAt](auto& b) { b[dirAt + 2] = std::byte{'X'}; }, "ITSP"},
        {"listing chunk tag", [firstChunk](auto& b) { b[firstChunk + 3] = std::byte{'X'}; },
         "PMGL"},
        {"entry count", [chunkEnd](auto& b) { b[chunkEnd - 2] ^= std::byte{1}; }, "entries"},
        {"next chunk loops",
         [firstChunk](auto& b) {
             for (std::size_t i = 0; i < 4; ++i) {
                 b[firstChunk + 0x10 + i] = std::byte{0};
             }
         },
         "chain"},
    };
    for (const Damage& damage : damages) {
        auto copy = original.Bytes;
        damage.Apply(copy);
        const auto result = chm::ReadArchive(copy);
        const auto* error = std::get_if<chm::Error>(&result);
        ASSERT_NE(error, nullptr) << "not noticed: " << damage.What;
        EXPECT_NE(error->Message.find(damage.Reported), std::string::npos)
            << damage.What << " reported as: " << error->Message;
    }
}

TEST(HelpLinks, ResolveInsideTheFileOrNotAtAll) {
    using help::ResolveLink;
    EXPECT_EQ(ResolveLink("/inicio.htm", "formato.htm"), "/formato.htm");
    EXPECT_EQ(ResolveLink("/a/b.htm", "c.htm"), "/a/c.htm");
    EXPECT_EQ(ResolveLink("/a/b.htm", "../c.htm"), "/c.htm");
    EXPECT_EQ(ResolveLink("/a/b.htm", "./d/e%20f.htm"), "/a/d/e f.htm");
    EXPECT_EQ(ResolveLink("/a.htm", ""), "/a.htm");
    EXPECT_FALSE(ResolveLink("/a.htm", "../x.htm"));
    EXPECT_FALSE(ResolveLink("/a.htm", "file:x.htm"));
    EXPECT_FALSE(ResolveLink("/a.htm", "/abs.htm"));
    EXPECT_TRUE(help::IsExternal("HTTPS://example.org/"));
    EXPECT_TRUE(help::IsExternal("mailto:x@example.org"));
    EXPECT_FALSE(help::IsExternal("ms-its:other.chm::/a.htm"));
    EXPECT_EQ(help::SplitFragment("a.htm#b"),
              std::make_pair(std::string("a.htm"), std::string("b")));
}

TEST(HelpLinks, ScannersFindEveryLinkAnchorAndSitemapTarget) {
    const std::string html = "<HTML><head><LINK rel=stylesheet HREF='s.css'></head>\n"
                             "<!-- <a href=\"commented.htm\"> -->\n"
                             "<p><a\nhref=\"x.htm#y\">x</a> <img src=pic.png alt=\"a > b\">\n"
                             "<A NAME=\"k\"></A><h2 id=\"z\">t</h2><a href=\"a&amp;b.htm\">";
    EXPECT_EQ(help::LinkValues(html),
              (std::vector<std::string>{"s.css", "x.htm#y", "pic.png", "a&b.htm"}));
    EXPECT_TRUE(help::DefinesAnchor(html, "k"));
    EXPECT_TRUE(help::DefinesAnchor(html, "z"));
    EXPECT_FALSE(help::DefinesAnchor(html, "y"));

    const std::string sitemap = "<UL><LI><OBJECT type=\"text/sitemap\">\n"
                                "<param name=\"Name\" value=\"Uno\">\n"
                                "<param name=\"Local\" value=\"uno.htm#a\"></OBJECT>\n"
                                "<LI><OBJECT type=\"text/sitemap\"><PARAM NAME=\"local\" "
                                "VALUE=\"dos.htm\"></OBJECT></UL>";
    EXPECT_EQ(help::SitemapLocals(sitemap), (std::vector<std::string>{"uno.htm#a", "dos.htm"}));
    EXPECT_EQ(help::ProjectOption("[OPTIONS]\r\nTitle=Ayuda\r\n[FILES]\r\nTitle=x\r\n", "Title"),
              "Ayuda");
    EXPECT_EQ(help::FindUtf8Sequence("Configuraci\xF3n"), std::string::npos);
    EXPECT_EQ(help::FindUtf8Sequence("Configuraci\xC3\xB3n"), 11u);
}

} // namespace
} // namespace zelvaran
