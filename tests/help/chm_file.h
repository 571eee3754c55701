// The compiled help file opened with chmlib (Debian's libchm), a reader written apart from the
// compiler that made the file: what it reads is what a viewer finds inside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace zelvaran::chm {

// The fields of the ITSF header the checks look at.
struct Header {
    std::uint32_t Version = 0;
    std::uint32_t TimeStamp = 0;
    std::uint32_t LanguageId = 0;
};

class File {
public:
    // Nothing when the file cannot be read or chmlib does not take it as a CHM file.
    [[nodiscard]] static std::optional<File> Open(const std::filesystem::path& path);

    [[nodiscard]] const Header& Head() const noexcept { return header_; }
    // Every name inside, as stored: "/" for the root, "/page.htm", "::DataSpace/...".
    [[nodiscard]] const std::vector<std::string>& Names() const noexcept { return names_; }
    [[nodiscard]] bool Has(const std::string& name) const;
    // The whole content of a file inside, compressed or not; nothing when absent or unreadable.
    [[nodiscard]] std::optional<std::string> Read(const std::string& name) const;

private:
    struct Close {
        void operator()(chmFile* file) const noexcept;
    };
    std::unique_ptr<chmFile, Close> file_;
    Header header_;
    std::vector<std::string> names_;
};

// The records of the #SYSTEM file by code (0 contents file, 1 index, 2 default topic, 3 title,
// 4 language and flags, 10 time stamp, ...). Nothing when the records run past the end.
[[nodiscard]] std::optional<std::map<std::uint16_t, std::vector<std::byte>>>
SystemRecords(std::string_view system);

} // namespace zelvaran::chm
