#include "help_file.h"

#include <cstdlib>

#include "help_sources.h"

namespace zelvaran::help {

std::filesystem::path ChmPath() {
    const char* path = std::getenv("ZELVARAN_HELP_CHM");
    return path != nullptr ? path : ZELVARAN_HELP_CHM;
}

std::filesystem::path SourceDir() {
    const char* path = std::getenv("ZELVARAN_HELP_SOURCE_DIR");
    return path != nullptr ? path : ZELVARAN_HELP_SOURCE_DIR;
}

const LoadedHelp& Loaded() {
    static const LoadedHelp help = [] {
        LoadedHelp loaded{chm::File::Open(ChmPath()), {}};
        loaded.Project = ReadText(SourceDir() / "zelvaran_help.hhp").value_or("");
        return loaded;
    }();
    return help;
}

std::string EntryName(std::string_view file) {
    std::string name(1, '/');
    name.append(file);
    return name;
}

std::string RecordText(const std::vector<std::byte>& record) {
    std::string text;
    for (const std::byte b : record) {
        if (b == std::byte{0}) {
            break;
        }
        text += static_cast<char>(b);
    }
    return text;
}

std::size_t FindUtf8Sequence(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if (lead >= 0xC2 && lead <= 0xF4 && next >= 0x80 && next <= 0xBF) {
            return i;
        }
    }
    return std::string_view::npos;
}

void HelpFile::SetUp() {
    ASSERT_TRUE(Loaded().File) << ChmPath() << " cannot be opened as a CHM file";
    ASSERT_FALSE(Loaded().Project.empty()) << "no zelvaran_help.hhp in " << SourceDir();
}

const chm::File& HelpFile::File() const {
    return *Loaded().File;
}

std::optional<std::map<std::uint16_t, std::vector<std::byte>>> HelpFile::SystemRecords() const {
    const auto bytes = File().Read("/#SYSTEM");
    return bytes ? chm::SystemRecords(*bytes) : std::nullopt;
}

std::string HelpFile::Option(std::string_view key) const {
    return ProjectOption(Loaded().Project, key).value_or("");
}

void HelpFile::ExpectLinkInside(const std::string& fromEntry, const std::string& link) const {
    const auto [target, fragment] = SplitFragment(link);
    const auto resolved = ResolveLink(fromEntry, target);
    ASSERT_TRUE(resolved) << fromEntry << " links to '" << link << "', which cannot be inside";
    EXPECT_TRUE(File().Has(*resolved))
        << fromEntry << " links to '" << link << "', but " << *resolved << " is not inside";
    if (!fragment.empty()) {
        const auto page = ReadText(SourceDir() / resolved->substr(1));
        EXPECT_TRUE(page && DefinesAnchor(*page, fragment))
            << fromEntry << " links to '" << link << "', but that anchor is not defined";
    }
}

void HelpFile::ExpectSitemapTargetsInside(const std::string& sitemapName,
                                          std::size_t atLeast) const {
    const auto text = ReadText(SourceDir() / sitemapName);
    ASSERT_TRUE(text) << "cannot read " << sitemapName;
    const auto locals = SitemapLocals(*text);
    EXPECT_GE(locals.size(), atLeast) << "too few entries found in " << sitemapName;
    for (const std::string& local : locals) {
        // Sitemap paths are relative to the root of the help file.
        ExpectLinkInside(EntryName(sitemapName), local);
    }
}

} // namespace zelvaran::help
