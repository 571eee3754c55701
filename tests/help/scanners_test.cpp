// The #SYSTEM parser and the source scanners that the help file checks rely on: if they could miss
// a fault, those checks would pass on a broken file.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "chm_file.h"
#include "help_file.h"
#include "help_sources.h"

namespace zelvaran {
namespace {

TEST(ChmSystemFile, RecordsByCodeAndNothingForACutOne) {
    using namespace std::string_view_literals;
    const auto system = "\3\0\0\0\2\0\6\0a.htm\0\12\0\4\0\1\2\3\4"sv;
    const auto records = chm::SystemRecords(system);
    ASSERT_TRUE(records);
    EXPECT_EQ(records->size(), 2u);
    EXPECT_EQ(help::RecordText(records->at(2)), "a.htm");
    EXPECT_EQ(records->at(10),
              (std::vector<std::byte>{std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}}));
    EXPECT_FALSE(chm::SystemRecords(system.substr(0, system.size() - 1)));
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
