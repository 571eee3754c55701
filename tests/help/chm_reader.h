// A reader for the directory of a compiled HTML Help file (.chm, an ITSF archive): enough to list
// every file inside and to read the uncompressed ones, so the tests can check what the compiler
// produced without trusting the compiler's own tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zelvaran::chm {

struct Entry {
    std::string Name;          // as stored: "/" for the root, "/page.htm", "::DataSpace/..."
    std::uint64_t Section = 0; // 0 = stored as is, 1 = LZX-compressed
    std::uint64_t Offset = 0;  // within the section's data
    std::uint64_t Length = 0;
};

struct Archive {
    std::uint32_t Version = 0;
    std::uint32_t TimeStamp = 0;
    std::uint32_t LanguageId = 0;
    std::uint64_t ContentOffset = 0; // where section 0's data starts in the file
    std::uint32_t ChunkSize = 0;
    std::uint32_t ChunkCount = 0;
    std::uint32_t ListingChunks = 0;    // PMGL chunks visited
    std::uint64_t CompressedLength = 0; // uncompressed size of section 1, from its reset table
    std::vector<Entry> Entries;

    [[nodiscard]] const Entry* Find(std::string_view name) const;
};

struct Error {
    std::string Message;
};

// One ENCINT: 7 bits a byte, most significant group first, the high bit set on all but the last.
// Advances pos past it; nothing when the data ends first or the value overflows 64 bits.
[[nodiscard]] std::optional<std::uint64_t> ReadEncint(std::span<const std::byte> data,
                                                      std::size_t& pos);

// Parses the ITSF header, the ITSP directory header and every PMGL listing chunk, and checks that
// each entry lies inside its section. Any inconsistency is an Error naming what is wrong.
[[nodiscard]] std::variant<Archive, Error> ReadArchive(std::span<const std::byte> file);

// The bytes of an entry of section 0; nothing for a compressed entry.
[[nodiscard]] std::optional<std::span<const std::byte>>
StoredContent(std::span<const std::byte> file, const Archive& archive, const Entry& entry);

// The records of the #SYSTEM file by code (0 contents file, 1 index, 2 default topic, 3 title,
// 4 language and flags, 10 time stamp, ...). Nothing when the records run past the end.
[[nodiscard]] std::optional<std::map<std::uint16_t, std::vector<std::byte>>>
SystemRecords(std::span<const std::byte> system);

[[nodiscard]] std::optional<std::vector<std::byte>>
ReadWholeFile(const std::filesystem::path& path);

} // namespace zelvaran::chm
