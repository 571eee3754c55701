// The help file under test and the sources it was built from, loaded once per test run.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chm_file.h"

namespace zelvaran::help {

// The compiled file and the source folder: set by the build, or by the environment variables
// ZELVARAN_HELP_CHM and ZELVARAN_HELP_SOURCE_DIR to check another build (e.g. a broken one).
[[nodiscard]] std::filesystem::path ChmPath();
[[nodiscard]] std::filesystem::path SourceDir();

struct LoadedHelp {
    std::optional<chm::File> File; // nothing when chmlib cannot open it
    std::string Project;           // the .hhp text
};
[[nodiscard]] const LoadedHelp& Loaded();

// The name inside the compiled file of a file of the project's root folder: "/" + file.
[[nodiscard]] std::string EntryName(std::string_view file);

// The text of a #SYSTEM record: its bytes up to the first NUL.
[[nodiscard]] std::string RecordText(const std::vector<std::byte>& record);

// Where a text holds a multi-byte UTF-8 sequence (a sign of a file saved in the wrong encoding);
// npos when it holds none.
[[nodiscard]] std::size_t FindUtf8Sequence(std::string_view text);

// Every check of the compiled file needs it readable; the test stops here if it is not.
class HelpFile : public ::testing::Test {
protected:
    void SetUp() override;
    [[nodiscard]] const chm::File& File() const;
    [[nodiscard]] std::optional<std::map<std::uint16_t, std::vector<std::byte>>>
    SystemRecords() const;
    [[nodiscard]] std::string Option(std::string_view key) const;
    // A link written in the page fromEntry ("/inicio.htm") must reach a file inside, and its
    // #anchor, if any, must be defined in the target page's source.
    void ExpectLinkInside(const std::string& fromEntry, const std::string& link) const;
    void ExpectSitemapTargetsInside(const std::string& sitemapName, std::size_t atLeast) const;
};

} // namespace zelvaran::help
